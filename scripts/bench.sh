#!/usr/bin/env bash
# Runs the scale benchmarks (every catalogue operation and the window, on six shapes of
# catalogue at each size) and writes their figures and plot:
#   build/bench/results/scale.json, window.json   the raw results
#   build/bench/results/table.md                  every figure, and the growth 100k -> 1M
#   build/bench/results/performance.png           time against catalogue size
# Sizes: VORBIX_BENCH_SIZES (default 10000,100000,1000000). Run it on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh bench
cmake --preset bench >/dev/null
cmake --build --preset bench -j2
results=build/bench/results
mkdir -p "$results"
export VORBIX_BENCH_SIZES="${VORBIX_BENCH_SIZES:-10000,100000,1000000}"
build/bench/bench/bench_scale --benchmark_out="$results/scale.json" --benchmark_out_format=json
QT_QPA_PLATFORM=offscreen build/bench/bench/gui_bench_mainwindow \
  --benchmark_out="$results/window.json" --benchmark_out_format=json
# The Debian interpreter, which has the matplotlib the setup installed.
/usr/bin/python3 scripts/bench-plot.py "$results/performance.png" "$results/table.md" "$results/scale.json" "$results/window.json"
echo "Figures in $results/table.md, plot in $results/performance.png"
