#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 and runs their tests under
# Wine: the core tests, the Windows platform tests on real files and registry
# keys, and the command-line program.
#
# Wine runs without a display, in its own prefix inside the build folder, and
# in a Korean locale so that the ANSI calls speak CP949. To run one program by
# hand afterwards:
#   LOCPATH=build-win/locale LC_ALL=ko_KR.UTF-8 WINEPREFIX=$PWD/build-win/wineprefix \
#     WINEDEBUG=-all wine build-win/tests/platform_tests.exe
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-win
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
start=$SECONDS

bash scripts/deps.sh --windows

# The Windows program's pictures and resource texts are made by two tools of
# the Linux build.
echo "== host tools for the Windows resources"
[ -e build/build.ninja ] || cmake -S . -B build -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target ostravion-resources ostravion-pictures ostravion-cli -j"$jobs"

echo "== windows cross build (MinGW-w64)"
cmake -S . -B "$build" -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build "$build" -j"$jobs"
built=$SECONDS

# The Korean Wine (locale, prefix with the Korean fonts); the windows of the
# desktop program's tests go to a virtual display of their own, stopped with
# the Wine server at the end.
source scripts/korean-wine.sh
korean_wine_setup "$root"
korean_wine_display || true
trap korean_wine_stop EXIT

run_korean() { LC_ALL=ko_KR.UTF-8 "$@"; }

ready=$SECONDS

echo "== tests under wine"
(cd "$build" && run_korean ctest --output-on-failure -j"$jobs")

echo "== ostravion-cli.exe facts"
run_korean wine "$build/src/ostravion-cli.exe" facts

echo "== windows: build $((built - start)) s, prefix $((ready - built)) s," \
  "tests $((SECONDS - ready)) s, total $((SECONDS - start)) s"
