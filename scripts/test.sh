#!/usr/bin/env bash
# Builds and runs every test: the normal build (gcc), then the core and
# platform tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
# then the Windows cross build with its tests under Wine.
#   scripts/test.sh           everything
#   scripts/test.sh --quick   the normal build and its tests only
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
[ "${1:-}" = "--quick" ] && quick=1

bash scripts/deps.sh
jobs=$(nproc)
start=$SECONDS

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

if [ $quick -eq 0 ]; then
  echo "== address and undefined sanitizers (clang)"
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DOSTRAVION_CORE_ONLY=ON \
    -DOSTRAVION_SANITIZE=address,undefined >/dev/null
  cmake --build build-asan -j"$jobs"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j"$jobs")

  bash scripts/test-windows.sh
fi
echo "== all tests passed in $((SECONDS - start)) s"
