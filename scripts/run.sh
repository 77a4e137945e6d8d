#!/usr/bin/env bash
# Builds the program and runs the main job: a whole inspection of this
# machine (every local disk file system) with the sample key list. The per-PC
# result file goes to CheckOut/ in the repository's folder; its path is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target ostravion-cli
cli=build/src/ostravion-cli
echo "== this PC"
"$cli" facts
echo "== a whole inspection of this PC with the sample key list (Ctrl+C stops it)"
result=$("$cli" scan --group SAMPLE --keylist samples/KEYLIST.DAT --overwrite)
echo "== the result file: $result"
