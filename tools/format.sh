#!/usr/bin/env bash
# Formats every C++ file that git tracks with the project's .clang-format.
# With --check it changes nothing and lists the files that are not formatted
# (exit status 1 when there are any).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  bad=$(clang-format --dry-run "${files[@]}" 2>&1 | grep -o '^[^:]*\.\(cpp\|h\):' | sort -u || true)
  if [ -n "$bad" ]; then
    echo "not formatted (run: bash tools/format.sh):"
    echo "$bad"
    exit 1
  fi
  exit 0
fi
clang-format -i "${files[@]}"
