#!/usr/bin/env bash
# Installs the Debian packages Vorbix needs to build, test and benchmark.
# Idempotent: packages already present are left alone, and the package lists
# are refreshed only when something has to be installed.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6test6
  libicu-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev libssl-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev libpugixml-dev
  clang-14 libclang-rt-14-dev
  xdg-utils
  librsvg2-bin file groff-base shared-mime-info desktop-file-utils appstream
)
# The benchmark script's plot needs matplotlib; only `setup.sh bench` installs it.
if [ "${1:-}" = "bench" ]; then
  packages+=(python3-matplotlib)
fi
# The static checks (scripts/lint.sh); only `setup.sh lint` installs them.
if [ "${1:-}" = "lint" ]; then
  packages+=(clang-tidy-14 clang-format-14 cppcheck)
fi
# The Debian package needs dpkg-shlibdeps, and its test lintian; only `setup.sh package`
# installs them.
if [ "${1:-}" = "package" ]; then
  packages+=(dpkg-dev lintian)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# MAME's checksum lists of BBC Micro software, which the add-folder tests read when the
# package is to be had here; a machine without it runs those tests on generated lists only.
optional=(mame-data)
add_available_optional() {
  for p in "${optional[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
      && apt-cache show "$p" >/dev/null 2>&1; then
      missing+=("$p")
    fi
  done
}

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
add_available_optional
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
