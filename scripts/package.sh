#!/usr/bin/env bash
# Installs what is missing, builds, makes the Debian package build/default/vorbix_*.deb and
# runs the install and package tests on it (lintian among them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh package
cmake --preset default
cmake --build --preset default -j "$(nproc)"
(cd build/default && cpack -G DEB)
ctest --preset package
