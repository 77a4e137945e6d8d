#!/usr/bin/env bash
# Builds and runs every test: the normal build (gcc), then the core and
# platform tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
# then a short libFuzzer run over every file reader (clang), then
# the scan-thread tests under ThreadSanitizer (clang), then the Windows cross
# build with its tests under Wine, then the packages (scripts/test-packages.sh).
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
cmake -S . -B build -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

if [ $quick -eq 0 ]; then
  echo "== address and undefined sanitizers (clang)"
  cmake -S . -B build-asan -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DOSTRAVION_CORE_ONLY=ON \
    -DOSTRAVION_SANITIZE=address,undefined >/dev/null
  cmake --build build-asan -j"$jobs"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j"$jobs")

  echo "== fuzzing every file reader (clang, libFuzzer, 20 s each)"
  cmake -S . -B build-fuzz -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DOSTRAVION_CORE_ONLY=ON -DOSTRAVION_TESTS=OFF \
    -DOSTRAVION_FUZZ=ON -DOSTRAVION_SANITIZE=address,undefined >/dev/null
  cmake --build build-fuzz -j"$jobs"
  # A crash, a leak, a timeout or a failed property ends the run with an
  # error and leaves the input as build-fuzz/<target>-crash-* (or leak-, timeout-).
  for target in keylist_fuzz perpc_fuzz total_fuzz resultwriting_fuzz csv_import_fuzz \
                candidates_fuzz pe_version_fuzz ntfs_image_fuzz disk_image_fuzz hive_fuzz; do
    mkdir -p "build-fuzz/corpus/$target"
    log="build-fuzz/$target.log"
    # libewf allocates a chunk as large as a damaged chunk table says (never
    # touched outside the sanitizer): such an allocation fails, as it may
    # on a PC, instead of ending the run.
    asan=
    [ "$target" = disk_image_fuzz ] && asan=allocator_may_return_null=1:max_allocation_size_mb=1024
    if ! ASAN_OPTIONS="$asan" LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan-suppressions.txt" \
         "build-fuzz/fuzz/$target" -max_total_time=20 -rss_limit_mb=2048 -timeout=10 \
         -print_final_stats=1 -artifact_prefix="build-fuzz/$target-" \
         "build-fuzz/corpus/$target" "build-fuzz/fuzz/seeds/$target" >"$log" 2>&1; then
      tail -n 80 "$log"
      echo "== $target found a fault: see $log and build-fuzz/$target-*"
      exit 1
    fi
    echo "$target: $(grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' \
      "$log" | sed 's/^stat:://; s/ \+/ /g' | tr '\n' ' ')"
  done

  echo "== thread sanitizer: the scan thread's tests and the read-ahead walk (clang)"
  cmake -S . -B build-tsan -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DOSTRAVION_CORE_ONLY=ON \
    -DOSTRAVION_SANITIZE=thread >/dev/null
  cmake --build build-tsan -j"$jobs" --target core_tests
  (cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
     ctest --output-on-failure -j"$jobs" -R '^(ScanThread|ReadAhead|Walk\.)')

  bash scripts/test-windows.sh

  echo "== packages"
  bash scripts/test-packages.sh
fi
echo "== all tests passed in $((SECONDS - start)) s"
