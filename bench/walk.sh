#!/usr/bin/env bash
# Times the identification walk against find and fd on a generated tree of
# 200,000 files in 20,000 folders (warm cache, median of several runs).
#   bench/walk.sh              RUNS=5 TREE=/tmp/ostravion-walk-tree BUILD=build
# Targets: walk <= 1.0 x find; 20,000 key-list entries <= 1.1 x 20 entries.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
runs=${RUNS:-5}
tree=${TREE:-/tmp/ostravion-walk-tree}

cmake --build "$build" --target bench_walk -j2 >/dev/null
bin=$build/bench/bench_walk
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  "$bin" generate "$tree"
  touch "$tree.done"
fi
work=$(mktemp -d /tmp/ostravion-walk-work-XXXXXX)
trap 'rm -rf "$work"' EXIT
"$bin" prepare "$work/20000" 20000
"$bin" prepare "$work/20" 20

# Milliseconds a command takes, its output thrown away.
ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { tr ' ' '\n' | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

"$bin" walk "$tree" "$work/20000" # warms the cache and shows what a walk finds
"$bin" walk "$tree" "$work/20"
find "$tree" -type f -printf '%s\n' >/dev/null
fdfind -u . "$tree" >/dev/null

w20000=() w20=() f=() fd=()
for _ in $(seq "$runs"); do
  w20000+=("$(ms "$bin" walk "$tree" "$work/20000")")
  w20+=("$(ms "$bin" walk "$tree" "$work/20")")
  f+=("$(ms find "$tree" -type f -printf '%s\n')")
  fd+=("$(ms fdfind -u . "$tree")")
done
m20000=$(echo "${w20000[*]}" | median)
m20=$(echo "${w20[*]}" | median)
mf=$(echo "${f[*]}" | median)
mfd=$(echo "${fd[*]}" | median)
echo "runs: $runs (median ms)"
echo "walk, 20000 entries: $m20000   [${w20000[*]}]"
echo "walk, 20 entries:    $m20   [${w20[*]}]"
echo "find -printf %s:     $mf   [${f[*]}]"
echo "fdfind -u:           $mfd   [${fd[*]}]"
awk -v a="$m20000" -v b="$m20" -v f="$mf" -v d="$mfd" 'BEGIN {
  printf "walk/find:   %.2f (target <= 1.0)\n", a / f
  printf "walk/fdfind: %.2f\n", a / d
  printf "20000/20:    %.2f (target <= 1.1)\n", a / b
}'
