#!/usr/bin/env bash
# Builds and runs every test: the optimised build, then the sanitizer build.
# JOBS=N bounds the jobs that build and test side by side (default: nproc).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/jobs.sh
bash tools/deps.sh
for preset in default asan; do
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
