#!/usr/bin/env bash
# Times the Windows desktop program under Wine on a virtual display: the
# window thread's longest wait during a scan of a generated tree of 200,000
# files, and the time 100,000 rows take to show.
#   bench/win_window.sh        TREE=/tmp/ostravion-walk-tree (made by bench/walk.sh's generator)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tree=${TREE:-/tmp/ostravion-walk-tree}
cmake -S . -B build-win -DOSTRAVION_BENCH=ON >/dev/null
cmake --build build-win --target bench_win_window -j2 >/dev/null
cmake --build build --target bench_walk -j2 >/dev/null
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  build/bench/bench_walk generate "$tree"
  touch "$tree.done"
fi
work=$(mktemp -d /tmp/ostravion-winbench-XXXXXX)
# The walk benchmark's key list of 20,000 entries, a dozen of which name
# programs of the tree.
build/bench/bench_walk prepare "$work" 20000
Xvfb :93 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
cd "$work"
DISPLAY=:93 LOCPATH=$root/build-win/locale LC_ALL=ko_KR.UTF-8 WINEPREFIX=$root/build-win/wineprefix \
  WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  wine "$root/build-win/bench/bench_win_window.exe" "Z:${tree//\//\\}"
