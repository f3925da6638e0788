#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks its control fields and (when
# lintian is installed) that lintian finds no error, unpacks it into a scratch root with
# dpkg -x and starts the unpacked programs there: vorbix renders its main window over a
# demo catalogue into a PNG, vorbix-cli reads the same catalogue.
# Usage: deb-check.sh BUILD_DIR. Exit 77 (skipped) without dpkg-shlibdeps.
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d /tmp/vorbix-deb.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps not installed (dpkg-dev): skipped"; exit 77; }

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1) \
  || { cat "$scratch/cpack.log" >&2; fail "cpack"; }
debs=("$scratch"/out/vorbix_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -s "${debs[0]}" ] || fail "no single vorbix_*.deb in $(ls "$scratch/out")"
deb=${debs[0]}
echo "package: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vorbix ] || fail "Package: $(field Package)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Section)" = otherosfs ] || fail "Section: $(field Section)"
# The dependencies come from dpkg-shlibdeps: the Qt libraries the programs link.
field Depends | grep -q 'libqt6widgets6' || fail "Depends lacks libqt6widgets6: $(field Depends)"
field Depends | grep -q 'libc6' || fail "Depends lacks libc6: $(field Depends)"

if command -v lintian >/dev/null; then
  # lintian refuses to run as root without this; its exit status also counts warnings
  # on some versions, so the errors are read from its output.
  report=$(lintian --allow-root --tag-display-limit 0 --display-info "$deb" 2>&1 || true)
  echo "$report"
  if grep -q '^E: ' <<<"$report"; then fail "lintian reports errors"; fi
else
  echo "lintian not installed: not run"
fi

root=$scratch/root
dpkg -x "$deb" "$root"
for f in usr/bin/vorbix usr/bin/vorbix-cli usr/share/applications/vorbix.desktop \
  usr/share/doc/vorbix/copyright usr/share/doc/vorbix/changelog.gz usr/share/man/man1/vorbix.1.gz; do
  [ -e "$root/$f" ] || fail "the package lacks /$f"
done
# The help pages where the installed vorbix looks for them: "../share/vorbix/HELP/" beside
# its own folder, so that the unpacked tree finds its own copy.
for page in INDEX PROGS CATEGOR EMUS FILTERS OPTIONS; do
  [ -f "$root/usr/bin/../share/vorbix/HELP/$page.HTM" ] || fail "no help page $page.HTM beside the unpacked vorbix"
done

app=$scratch/app
"$build/scripts/make-demo/vorbix-make-demo" "$app" "$app" >/dev/null
shot=$scratch/main.png
QT_QPA_PLATFORM=offscreen timeout 60 "$root/usr/bin/vorbix" --appdir "$app" --screenshot "$shot" \
  || fail "the unpacked vorbix did not render its window"
[ "$(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$shot is not a PNG"
file "$shot" | grep -q 'PNG image data, [0-9]* x [0-9]*' || fail "$shot: $(file -b "$shot")"
echo "screenshot: $(file -b "$shot")"

# The unpacked command-line tool reads the same demo catalogue as the built one.
[ "$("$root/usr/bin/vorbix-cli" --appdir "$app" info)" = "$("$build/src/cli/vorbix-cli" --appdir "$app" info)" ] \
  || fail "the unpacked vorbix-cli reads the catalogue differently"
"$root/usr/bin/vorbix-cli" --appdir "$app" info | grep -q '^programs: [1-9]' || fail "vorbix-cli info found no programs"
