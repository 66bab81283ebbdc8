#!/usr/bin/env bash
# Builds the module and the command-line host, then runs the whole job on an
# example return. Usage: tools/run.sh [RETURN-FILE] [OUT-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target gahost ga2018
ret=${1:-examples/single-wages.xml}
out=${2:-out}
mkdir -p "$out"
./build/default/host/gahost run "$ret" --out "$out"
