#!/usr/bin/env bash
# The static checks of the C++ code, each of which fails the script on any finding:
#   1. clang-format: every tracked C++ file is laid out as .clang-format says;
#   2. clang-tidy over src/ with the checks of .clang-tidy (warnings are errors), from the
#      compile commands of the default build (built first when missing);
#   3. cppcheck over src/ (warning, style, performance and portability findings), with the
#      suppressions of scripts/cppcheck.supp and the inline ones, each with its reason;
#   4. no source file of src/ over 600 lines (functions over 60 lines are clang-tidy's).
#
#   bash scripts/lint.sh            all three
#   bash scripts/lint.sh --fix      formats the tree in place first
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh lint

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format-14 -i "${files[@]}"
fi

echo "== clang-format (${#files[@]} files)"
clang-format-14 --dry-run --Werror "${files[@]}"

build=build/default
if [ ! -f "$build/compile_commands.json" ] || [ ! -d "$build/src/gui/vorbix_gui_lib_autogen/include" ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j "$(nproc)"
fi
echo "== clang-tidy"
# run-clang-tidy prints each command and its findings; the findings decide the status.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
# The compile commands are GCC's; a GCC-only option in them (-Wno-error=restrict when warnings
# are errors) is no finding of clang-tidy's.
run-clang-tidy-14 -p "$build" -quiet -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option "^$PWD/src/.*\.cpp$" \
  >"$log" 2>&1 || status=$?
if [ $status -ne 0 ] || grep -qE '(warning|error): ' "$log"; then
  grep -vE '^(clang-tidy-14 |[0-9]+ warnings? (and [0-9]+ errors? )?generated|Suppressed [0-9]+ warnings|Use -header-filter|Running clang-tidy)' "$log" >&2 || true
  echo "clang-tidy: findings above" >&2
  exit 1
fi
echo "clang-tidy: clean"

echo "== cppcheck"
cppcheck src -Isrc/core -Isrc/gui -Isrc/cli --std=c++20 --library=qt \
  --enable=warning,style,performance,portability --inline-suppr --suppressions-list=scripts/cppcheck.supp \
  --error-exitcode=1 --quiet -j "$(nproc)" --template='{file}:{line}: {severity} [{id}] {message}'
echo "cppcheck: clean"

echo "== file length"
long=$(git ls-files 'src/*.cpp' 'src/*.h' | xargs wc -l | awk '$2 != "total" && $1 > 600')
if [ -n "$long" ]; then
  echo "$long" >&2
  echo "files over 600 lines: split them by job" >&2
  exit 1
fi
echo "file length: every file of src/ within 600 lines"
