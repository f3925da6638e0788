#!/usr/bin/env bash
# Installs what is missing, builds, and runs Vorbix on a fresh demo catalogue generated
# into a new scratch folder (the tracked demo/ folder is never written, and no fixed path
# is ever removed). The folder stays after the run, so that what the run changed can be
# looked at; its path is printed first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vorbix-demo.XXXXXX")
./build/default/scripts/make-demo/vorbix-make-demo "$scratch" "$scratch"
echo "Vorbix demo catalogue: $scratch"
exec ./build/default/src/gui/vorbix --appdir "$scratch" "$@"
