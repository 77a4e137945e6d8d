#!/usr/bin/env bash
# How fast Ctrl+C ends `ostravion-cli scan` in the middle of a walk of
# 200,000 files, and that the per-PC file is then written whole and the
# journal gone. Target: the command has ended within 0.1 s of the signal.
#   bench/scan_stop.sh          RUNS=5 TREE=/tmp/ostravion-stop-tree BUILD=build DELAY=0.5
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
runs=${RUNS:-5}
tree=${TREE:-/tmp/ostravion-stop-tree}
delay=${DELAY:-0.5}

cmake --build "$build" --target ostravion-cli -j2 >/dev/null
cli=$PWD/$build/src/ostravion-cli

# 2,000 folders of 100 executables each: every file goes through the key-list
# lookup and the App Paths test.
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"
  for d in $(seq -w 0 1999); do
    mkdir -p "$tree/D${d:0:2}/S$d"
    (cd "$tree/D${d:0:2}/S$d" && touch $(printf 'F%02d.EXE ' $(seq 0 99)))
  done
  touch "$tree.done"
fi
work=$(mktemp -d /tmp/ostravion-stop-work-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp samples/KEYLIST.DAT "$work/"
find "$tree" -type f | wc -l | xargs echo "files in the tree:"
"$cli" -C "$work" scan --group B --name warm --drive "C=$tree" >/dev/null 2>&1 # warms the cache

now_ns() { date +%s%N; }
times=()
for i in $(seq "$runs"); do
  "$cli" -C "$work" scan --group B --name "stop$i" --drive "C=$tree" >/dev/null 2>"$work/err$i" &
  pid=$!
  sleep "$delay"
  t0=$(now_ns)
  kill -INT "$pid"
  status=0
  wait "$pid" || status=$?
  t1=$(now_ns)
  ipt=$work/CheckOut/B_stop$i.ipt
  if [ "$status" != 130 ]; then
    echo "run $i: the scan had ended before the signal (status $status); lower DELAY"
    exit 1
  fi
  [ -f "$ipt" ] || { echo "run $i: no result file"; exit 1; }
  [ ! -e "$work/CheckOut/B_stop$i.tmp" ] || { echo "run $i: journal left"; exit 1; }
  lines=$(tr -d '\r' <"$ipt" | wc -l)
  [ "$lines" -ge 11 ] || { echo "run $i: result file cut short"; exit 1; }
  ms=$(( (t1 - t0) / 1000000 ))
  times+=("$ms")
  echo "run $i: ended $ms ms after the signal; $(tail -1 "$work/err$i")"
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}')
worst=$(echo "$sorted" | tail -1)
echo "signal to exit, ms: median $median, worst $worst (target <= 100)"
[ "$worst" -le 100 ]
