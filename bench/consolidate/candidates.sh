#!/usr/bin/env bash
# What gathering the key-list candidates costs a consolidation: the same
# per-PC files consolidated without candidates files (the baseline, as files
# of earlier versions come) and with one beside each (LINES lines drawn from
# a pool of POOL programs, so that many PCs share them), best of three each.
#   bash bench/consolidate/candidates.sh [BUILD_DIR] [FILES] [LINES]
# Reports the ratio of the two times; no target beyond "small".
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
files=${2:-2000}
lines=${3:-40}
cli=$build/src/ostravion-cli
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
comp=$(printf '[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]')
list=$(printf '[\xB8\xAE\xBD\xBA\xC6\xAE]')
hancom=$(printf '\xC7\xD1\xC4\xC4')
mkdir -p "$work/run/CheckOut"
awk -v N="$files" -v LINES=300 -v POOL=3000 -v SEED=7 -v DIR="$work/run/CheckOut" \
    -v COMP="$comp" -v LIST="$list" -v HANCOM="$hancom" -f "$here/make_files.awk"

# The same per-PC files twice (hard links), once with candidates files beside them.
mkdir -p "$work/cand/CheckOut"
ln "$work/run/CheckOut/"*.ipt "$work/cand/CheckOut/"
awk -v N="$files" -v L="$lines" -v DIR="$work/cand/CheckOut" 'BEGIN {
    srand(11)
    for (i = 1; i <= N; i++) {
        path = sprintf("%s/pc%05d.cand", DIR, i)
        for (j = 1; j <= L; j++) {
            k = int(rand() * 500)
            printf "-\t-\t-\tTool %d\t%d.0\tTOOL%d.EXE\t%d\t-\tVendor %d\t-\tC:\\Tools\\%d\\\t\r\n", k, k % 5, k, 1000 + k, k % 97, k > path
        }
        close(path)
    }
}'

elapsed() { # folder
    /usr/bin/time -f '%e' -o "$work/t" "$cli" -C "$1" consolidate --name bench --overwrite \
        >/dev/null 2>&1 || true
    cat "$work/t"
}
# Rounds alternate between the two, so that the machine's other work weighs
# on both alike.
base=""; with=""
lower() { [ -z "$2" ] || awk -v x="$1" -v y="$2" 'BEGIN{exit !(x<y)}'; }
for round in 1 2 3; do
    b=$(elapsed "$work/run"); w=$(elapsed "$work/cand")
    echo "   round $round: without $b s, with $w s"
    if lower "$b" "$base"; then base=$b; fi
    if lower "$w" "$with"; then with=$w; fi
done
echo "== consolidate $files per-PC files, best of 3: without candidates $base s," \
     "with $lines candidates each $with s: ratio $(awk -v a="$with" -v b="$base" 'BEGIN{printf "%.2f", a/b}')"
echo "   $(sed -n 's/^key-list candidates\t//p' <("$cli" -C "$work/cand" consolidate --name bench --overwrite 2>/dev/null)) distinct candidates gathered"
