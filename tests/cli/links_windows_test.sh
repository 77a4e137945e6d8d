#!/usr/bin/env bash
# Under Wine: host symbolic links planted under the names of the files the
# program makes for itself (a new total, the consolidation's scratch file,
# the scan journal, a new per-PC file). Wine shows such a link as the file
# it leads to; removing it by name would remove that file. What the links
# lead to must stay whole; the writes go to names of their own and succeed.
#   links_windows_test.sh CLI FIXTURES SAMPLES
set -u
cli=$1
fixtures=$2
samples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
w=$work/run
mkdir -p "$w/CheckOut" "$work/tree"
cp "$fixtures/CheckOut/a.ipt" "$fixtures/CheckOut/b.ipt" "$w/CheckOut/"
cp "$samples/KEYLIST.DAT" "$w/"
printf 'x' >"$work/tree/readme.txt"
own() { for f in "$@"; do printf '%s ' "$(cat "$work/$f" 2>/dev/null || echo gone)"; done; }

printf 'total\n' >"$work/total.txt"
printf 'scratch\n' >"$work/scratch.txt"
ln -s "$work/total.txt" "$w/CheckOut/t.tls.new"
ln -s "$work/scratch.txt" "$w/CheckOut/t_tm"
"$cli" -C "$w" consolidate --name t a.ipt b.ipt >/dev/null 2>"$work/err"; rc=$?
check "consolidate: linked files kept" "total scratch " "$(own total.txt scratch.txt)"
check "consolidate: written beside them" "0 file" \
    "$rc $([ -f "$w/CheckOut/t.tls" ] && [ ! -L "$w/CheckOut/t.tls" ] && echo file)"

printf 'journal\n' >"$work/journal.txt"
printf 'result\n' >"$work/result.txt"
ln -s "$work/journal.txt" "$w/CheckOut/G_PC.tmp"
ln -s "$work/result.txt" "$w/CheckOut/G_PC.ipt.new"
"$cli" -C "$w" scan --group G --name PC --drive "C=$work/tree" >/dev/null 2>"$work/err"; rc=$?
check "scan: linked files kept" "journal result " "$(own journal.txt result.txt)"
check "scan: written beside them" "0 file" \
    "$rc $([ -f "$w/CheckOut/G_PC.ipt" ] && [ ! -L "$w/CheckOut/G_PC.ipt" ] && echo file)"

exit $fail
