#!/usr/bin/env bash
# Builds the module and the command-line host, then runs the whole job on an
# example return. Usage: tools/run.sh [RETURN-FILE] [OUT-DIR]; JOBS=N bounds
# the build jobs (default: nproc).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/jobs.sh
bash tools/deps.sh
cmake --preset default
cmake --build --preset default -j "$jobs" --target gahost ga2018
ret=${1:-examples/single-wages.xml}
out=${2:-out}
mkdir -p "$out"
./build/default/host/gahost run "$ret" --out "$out"
