#!/usr/bin/env bash
# Builds the program and runs the main job: this PC's facts and the sample key
# list as a scan loads it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target ostravion-cli
cli=build/src/ostravion-cli
echo "== this PC"
"$cli" facts
echo "== the sample key list, as the scan loads it"
"$cli" -C samples keylist list
