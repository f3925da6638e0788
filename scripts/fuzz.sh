#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer), writes their seed corpora with our own writers and runs each
# target for SECONDS seconds, one after the other; then prints for each target the
# executions, the coverage (cov: edges, ft: features) and the findings.
#
#   bash scripts/fuzz.sh [SECONDS [TARGET...]]     SECONDS defaults to 30; TARGET is one of
#                                                  programs options legacy jpeg romscfg png dfs lists
#
# Each target's corpus grows in build/fuzz/corpus/TARGET from run to run; a finding (crash,
# undefined behaviour, leak, timeout of 10 s, more than 2 GB of memory) stops that target and
# is written to build/fuzz/findings/TARGET/, its log to build/fuzz/logs/TARGET.log. The
# script exits with 1 when any target had a finding.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(programs options legacy jpeg romscfg png dfs lists)

bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2

out=build/fuzz
rm -rf "$out/seeds"
"$out/fuzz/vorbix-fuzz-seeds" "$out/seeds"

# The targets' application folders, in memory where possible, removed at the end even when
# a finding stopped a target before its own clean-up.
if [ -w /dev/shm ]; then scratch=$(mktemp -d /dev/shm/vorbix-fuzz-run-XXXXXX); else scratch=$(mktemp -d); fi
trap 'rm -rf "$scratch"' EXIT

summary=()
status=0
for target in "${targets[@]}"; do
  binary="$out/fuzz/fuzz_$target"
  [ -x "$binary" ] || { echo "no fuzz target named $target" >&2; exit 2; }
  corpus="$out/corpus/$target"
  findings="$out/findings/$target"
  log="$out/logs/$target.log"
  mkdir -p "$corpus" "$out/logs"
  rm -rf "$findings"
  mkdir -p "$findings"
  dict=()
  [ -f "$out/seeds/$target.dict" ] && dict=(-dict="$out/seeds/$target.dict")
  echo "== fuzz_$target for $seconds s"
  VORBIX_FUZZ_TMP="$scratch" "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "${dict[@]}" "$corpus" "$out/seeds/$target" \
    >"$log" 2>&1 || true
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([^ ]*\).*/\1/p' <<<"$last")
  found=$(find "$findings" -type f | wc -l)
  line="fuzz_$target: execs ${execs:-?} cov: ${cov:-?} ft: ${ft:-?} corpus ${corp:-?} findings: $found"
  if [ "$found" -gt 0 ]; then
    status=1
    line+=" ($(find "$findings" -type f -printf '%f ' | sed 's/ $//'); see $log)"
    grep -m 1 -E 'ERROR: |runtime error|deadly signal|Test unit written' "$log" || true
  fi
  echo "$line"
  summary+=("$line")
done

echo
echo "== summary ($seconds s each)"
printf '%s\n' "${summary[@]}"
exit $status
