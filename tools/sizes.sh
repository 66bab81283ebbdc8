#!/usr/bin/env bash
# Lists what is too long to read on a screen or two: every function of more
# than 80 lines (clang-tidy's readability-function-size) and every source
# file of more than 600 lines, in module/, platform/ and host/. Exit status 1
# when there is one, 2 when clang-tidy is missing or cannot read a file.
#
# clang-tidy reads the compile commands of the default build, which the
# script configures with them (build/default) and whose generated catalogue
# headers it makes. Not part of the test run. JOBS=N bounds the clang-tidy
# runs side by side (default: nproc).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/jobs.sh

readonly function_lines=80
readonly file_lines=600

if ! command -v clang-tidy >/dev/null; then
  echo "sizes.sh: clang-tidy is missing (apt-get install clang-tidy)" >&2
  exit 2
fi
cmake --preset default -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build/default --target ga_catalogues_generate >/dev/null

# Each clang-tidy writes its own report, so that a function's warning and
# the note with its length stay together.
reports=$(mktemp -d)
trap 'rm -rf "$reports"' EXIT
export reports
export config="{CheckOptions: [{key: readability-function-size.LineThreshold, value: $function_lines}]}"
tidy() {
  # The build's flags are GCC's: clang does not know some of its warnings.
  clang-tidy -p build/default --checks='-*,readability-function-size' --config="$config" --quiet \
    --extra-arg=-Wno-unknown-warning-option "$@" >"$(mktemp -p "$reports")" 2>/dev/null
}
export -f tidy
# A file clang-tidy cannot compile would otherwise pass unseen.
if ! git ls-files 'module/*.cpp' 'platform/*.cpp' 'host/*.cpp' | xargs -P "$jobs" -n4 bash -c 'tidy "$@"' tidy; then
  echo "sizes.sh: clang-tidy failed:" >&2
  cat "$reports"/* | grep 'error:' | sort -u >&2 || true
  exit 2
fi

found=0

# "host/gahost.cpp:270: run (98 lines)", from the warning and its note.
long_functions=$(awk -v root="$PWD/" '
  FNR == 1 { where = "" }
  / warning: function .* exceeds recommended size/ {
    split($1, at, ":"); name = $0
    sub(/^[^\x27]*\x27/, "", name); sub(/\x27.*/, "", name)
    where = substr(at[1], index(at[1], root) == 1 ? length(root) + 1 : 1) ":" at[2] ": " name
    next
  }
  where != "" && / note: [0-9]+ lines including/ {
    count = $0; sub(/.* note: /, "", count); sub(/ lines.*/, "", count)
    print where " (" count " lines)"; where = ""
  }' "$reports"/* | sort -u)
if [ -n "$long_functions" ]; then
  echo "functions over $function_lines lines:"
  echo "$long_functions"
  found=1
fi

long_files=$(git ls-files 'module/*.cpp' 'module/*.h' 'platform/*.cpp' 'platform/*.h' 'host/*.cpp' 'host/*.h' |
  xargs wc -l | awk -v limit="$file_lines" '$2 != "total" && $1 > limit { print $2 " (" $1 " lines)" }')
if [ -n "$long_files" ]; then
  echo "files over $file_lines lines:"
  echo "$long_files"
  found=1
fi

exit "$found"
