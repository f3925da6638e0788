#!/usr/bin/env bash
# Renders the main window and every dialog (each tab on its own) over a fresh copy of the
# demo catalogue into docs/dialogs/, offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target vorbix-make-demo vorbix-dialog-shots
scratch=$(mktemp -d /tmp/vorbix-shots.XXXXXX)
./build/default/scripts/make-demo/vorbix-make-demo "$scratch" "$scratch"
mkdir -p docs/dialogs
# The emulator dialog's presets make their working folders in the cache: the scratch one.
XDG_CACHE_HOME="$scratch/cache" ./build/default/scripts/dialog-shots/vorbix-dialog-shots "$scratch" docs/dialogs
rm -rf "$scratch"
