#!/usr/bin/env bash
# Installs what is missing, builds, and runs Vorbix on a scratch copy of the demo catalogue
# in /tmp/vorbix-demo (the tracked demo/ folder is never written).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)"
rm -rf /tmp/vorbix-demo
cp -r demo /tmp/vorbix-demo
exec ./build/default/src/gui/vorbix --appdir /tmp/vorbix-demo "$@"
