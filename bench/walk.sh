#!/usr/bin/env bash
# Times the identification walk, and the whole `ostravion-cli scan` (key
# list, walk, lists, per-PC file), against find and fd on a generated tree of
# 200,000 files in 20,000 folders (warm cache, interleaved runs, medians).
# Runs the programs of an already built build folder; builds nothing.
#   bench/walk.sh              RUNS=5 TREE=/tmp/ostravion-walk-tree BUILD=build
# Targets: walk <= 1.0 x find and <= 1.0 x fd; 20,000 key-list entries <= 1.1 x 20 entries.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
runs=${RUNS:-5}
tree=${TREE:-/tmp/ostravion-walk-tree}

bin=$build/bench/bench_walk
cli=$build/src/ostravion-cli
for b in "$bin" "$cli"; do
  [ -x "$b" ] || { echo "$b is missing: cmake --build $build --target bench_walk ostravion-cli"; exit 1; }
done
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  "$bin" generate "$tree"
  touch "$tree.done"
fi
work=$(mktemp -d /tmp/ostravion-walk-work-XXXXXX)
trap 'rm -rf "$work"' EXIT
"$bin" prepare "$work/20000" 20000
"$bin" prepare "$work/20" 20

# "real cpu" milliseconds of a command, its output thrown away; cpu is user +
# system time, which other load on the machine disturbs far less than real time.
ms() {
  local TIMEFORMAT='%3R %3U %3S' t
  t=$({ time "$@" >/dev/null; } 2>&1)
  awk '{printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000}' <<<"$t"
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
least() { tr ' ' '\n' | grep . | sort -n | head -1; }

"$bin" walk "$tree" "$work/20000" # warms the cache and shows what a walk finds
"$bin" walk "$tree" "$work/20"
scan() { "$cli" -C "$work/20000" scan --group B --name bench --drive "C=$tree" --overwrite 2>/dev/null; }
scan
find "$tree" -type f -printf '%s\n' >/dev/null
fdfind -u . "$tree" >/dev/null

# Interleaved, so that a burst of load elsewhere on the machine hits them all.
declare -A real cpu
names=(w20000 w20 scan find fd)
for _ in $(seq "$runs"); do
  for n in "${names[@]}"; do
    case $n in
      w20000) r=$(ms "$bin" walk "$tree" "$work/20000") ;;
      w20) r=$(ms "$bin" walk "$tree" "$work/20") ;;
      scan) r=$(ms scan) ;;
      find) r=$(ms find "$tree" -type f -printf '%s\n') ;;
      fd) r=$(ms fdfind -u . "$tree") ;;
    esac
    real[$n]+="${r% *} "
    cpu[$n]+="${r#* } "
  done
done
declare -A label=([w20000]="walk, 20000 entries" [w20]="walk, 20 entries"
  [scan]="ostravion-cli scan" [find]="find -printf %s" [fd]="fdfind -u")
echo "runs: $runs, milliseconds (real: wall clock; cpu: user + system)"
for n in "${names[@]}"; do
  printf '%-20s real median %5d best %5d   cpu median %5d   [real %s]\n' "${label[$n]}" \
    "$(echo "${real[$n]}" | median)" "$(echo "${real[$n]}" | least)" \
    "$(echo "${cpu[$n]}" | median)" "${real[$n]% }"
done
ratios() { # label, then the five figures
  awk -v l="$1" -v a="$2" -v b="$3" -v s="$4" -v f="$5" -v d="$6" 'BEGIN {
    printf "%-12s walk/find %.2f (target <= 1.0)   20000/20 %.2f (target <= 1.1)   walk/fdfind %.2f (target <= 1.0)   scan/find %.2f\n",
      l, a / f, a / b, a / d, s / f }'
}
for stat in median least; do
  ratios "real $stat:" $(for n in "${names[@]}"; do echo "${real[$n]}" | $stat; done)
done
ratios "cpu median:" $(for n in "${names[@]}"; do echo "${cpu[$n]}" | median; done)
