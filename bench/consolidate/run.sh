#!/usr/bin/env bash
# Times `ostravion-cli consolidate` against an awk program doing the same
# case-insensitive count and history concatenation over the same per-PC files,
# and compares the peak memory of the consolidation at 2,500 and 10,000 files.
#   bash bench/consolidate/run.sh [BUILD_DIR] [FILES]
# Targets: the consolidation takes at most awk's time; its peak memory (max
# RSS) does not grow with the number of files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
files=${2:-10000}
small=$((files / 4))
cli=$build/src/ostravion-cli
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
comp=$(printf '[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]')
list=$(printf '[\xB8\xAE\xBD\xBA\xC6\xAE]')
hancom=$(printf '\xC7\xD1\xC4\xC4')

echo "== making $files per-PC files of 300 lines"
mkdir -p "$work/big/CheckOut" "$work/small/CheckOut"
awk -v N="$files" -v LINES=300 -v POOL=3000 -v SEED=7 -v DIR="$work/big/CheckOut" \
    -v COMP="$comp" -v LIST="$list" -v HANCOM="$hancom" -f "$here/make_files.awk"
for f in $(cd "$work/big/CheckOut" && ls | head -n "$small"); do
    ln "$work/big/CheckOut/$f" "$work/small/CheckOut/$f"
done
echo "   $(du -sh "$work/big/CheckOut" | cut -f1) of input"

# One timed run: prints "elapsed-seconds cpu-seconds max-rss-kB".
timed() {
    /usr/bin/time -f '%e %U %S %M' -o "$work/t" "$@" >/dev/null 2>"$work/stderr" || {
        cat "$work/stderr" >&2; exit 1; }
    awk '{printf "%.2f %.2f %d\n", $1, $2 + $3, $4}' "$work/t"
}
field() { echo "$1" | cut -d' ' -f"$2"; }

# Best of three rounds, by elapsed time; the CPU time (user + system) of the
# same run is given too, as it depends less on what else the machine does.
best_cli=""; best_awk=""
better() { awk -v x="$(field "$1" 1)" -v y="$(field "$2" 1)" 'BEGIN{exit !(x<y)}'; }
for round in 1 2 3; do
    rm -f "$work/big/CheckOut/bench.tls" "$work/awk.tls" "$work/awk_history"
    c=$(timed "$cli" -C "$work/big" consolidate --name bench --overwrite)
    a=$(timed awk -v COMP="$comp" -v LIST="$list" -v HIST="$work/awk_history" \
        -v OUT="$work/awk.tls" -f "$here/reference.awk" "$work"/big/CheckOut/*.ipt)
    echo "   round $round: consolidate $(field "$c" 1) s ($(field "$c" 2) s CPU), awk $(field "$a" 1) s ($(field "$a" 2) s CPU)"
    if [ -z "$best_cli" ] || better "$c" "$best_cli"; then best_cli=$c; fi
    if [ -z "$best_awk" ] || better "$a" "$best_awk"; then best_awk=$a; fi
done

# Both produced the same counts.
counts() { sed -n '/^\[PC_HISTORY\]/q;p' "$1" | awk -F'\t' 'NF>=14{n++; s+=$7} END{print n, s}'; }
history() { sed -n '/^\[PC_HISTORY\]/,$p' "$1" | wc -l; }
rows_cli=$(counts "$work/big/CheckOut/bench.tls"); rows_awk=$(counts "$work/awk.tls")
hist_cli=$(history "$work/big/CheckOut/bench.tls"); hist_awk=$(history "$work/awk.tls")
echo "== programs and installations: consolidate $rows_cli, awk $rows_awk; history lines $hist_cli, $hist_awk"
[ "$rows_cli" = "$rows_awk" ] && [ "$hist_cli" = "$hist_awk" ] || { echo "MISMATCH" >&2; exit 1; }

s=$(timed "$cli" -C "$work/small" consolidate --name bench --overwrite)
ratio() { awk -v c="$1" -v a="$2" 'BEGIN{printf "%.2f", c/a}'; }
echo "== time, best of 3, $files files: consolidate $(field "$best_cli" 1) s, awk $(field "$best_awk" 1) s:" \
     "ratio $(ratio "$(field "$best_cli" 1)" "$(field "$best_awk" 1)") elapsed," \
     "$(ratio "$(field "$best_cli" 2)" "$(field "$best_awk" 2)") CPU (target <= 1.00)"
echo "== max RSS: consolidate $(field "$s" 3) kB at $small files, $(field "$best_cli" 3) kB at $files files" \
     "(target: no growth); awk $(field "$best_awk" 3) kB"
