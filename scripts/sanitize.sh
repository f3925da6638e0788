#!/usr/bin/env bash
# Builds everything (the window, the command-line tool, the tests) under AddressSanitizer
# and UndefinedBehaviorSanitizer (the asan preset, build/asan) and runs the whole CTest
# suite under them. The test preset sets the sanitizers' options: any memory error, leak
# or undefined behaviour fails its test; leaks inside third-party libraries are suppressed
# by scripts/lsan.supp, each with its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset asan
cmake --build --preset asan -j "$(nproc)"
ctest --preset asan -j "$(nproc)"
