#!/usr/bin/env bash
# The load against the pugixml parse of the same programs file, each in a fresh process as
# `vorbix-cli info` is: for each shape, RUNS loads and RUNS pugixml parses taken in turn,
# and the median and the least of each. Needs the bench build (scripts/bench.sh makes it).
#   bash scripts/bench-load.sh [PROGRAMS] [RUNS]     defaults 100000 and 9
set -euo pipefail
cd "$(dirname "$0")/.."
programs="${1:-100000}"
runs="${2:-9}"
tool=build/bench/bench/bench_load_memory
[ -x "$tool" ] || cmake --build --preset bench -j2 --target bench_load_memory
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
least() { printf '%s\n' "$@" | sort -n | head -1; }
printf '%-14s %10s %10s %12s %12s %7s\n' shape load_ms least pugixml_ms least ratio
for shape in ordinary shared-prefix same-name own-publisher long-names non-ascii; do
  "$tool" --make "$programs" "$work/$shape" "$shape" >/dev/null
  ours=()
  reference=()
  for _ in $(seq 1 "$runs"); do
    ours+=("$("$tool" "$work/$shape" | sed 's/.* ms=//')")
    reference+=("$("$tool" --pugixml "$work/$shape" | sed 's/pugixml_ms=\([0-9.]*\).*/\1/')")
  done
  a=$(median "${ours[@]}")
  b=$(median "${reference[@]}")
  printf '%-14s %10s %10s %12s %12s %7s\n' "$shape" "$a" "$(least "${ours[@]}")" "$b" "$(least "${reference[@]}")" \
    "$(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.2fx", a / b}')"
  rm -rf "${work:?}/$shape"
done
