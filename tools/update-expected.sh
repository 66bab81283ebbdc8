#!/usr/bin/env bash
# Rewrites the golden results of every example return from what the current
# build gives: examples/<name>.expected (the printout of `gahost run`),
# examples/<name>.fields.expected (every field of the return it saves) and the
# e-file printouts and e-files where the example has them. Run it after an
# intended change of a result or of the printout, or after adding an example;
# then review `git diff examples/` and update the tables of docs/examples.md
# to match. JOBS=N bounds the build jobs (default: nproc).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/jobs.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs" --target host_tests gahost ga2018
GA_UPDATE_EXPECTED=1 ./build/default/tests/host_tests --gtest_filter='Examples/ExampleResults.*' --gtest_brief=1
