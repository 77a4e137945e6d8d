#!/usr/bin/env bash
# The keylist subcommands end to end: pack, unpack, list, and their refusals.
set -u
cli=$1
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"

# The shipped sample container is the packed sample TSV.
"$cli" keylist pack "$samples/keylist-sample.tsv" -o "$work/KEYLIST.DAT" 2>/dev/null
check "sample container is up to date" "$(od -An -tx1 "$samples/KEYLIST.DAT")" "$(od -An -tx1 "$work/KEYLIST.DAT")"
check "unpack --utf8 gives the TSV back" "$(cat "$samples/keylist-sample.tsv")" "$("$cli" keylist unpack --utf8 "$work/KEYLIST.DAT")"

# An empty column and both domestic labels.
printf 'caption\tx\tx\tx\tx\nk0\t\tk2\tName\t1.0\tA.EXE\t5\tk7\tCo\t국외\nk\tAPP\tk\tN\t2\tB.exe\t6\tk\tCo\t국내\n' > "$work/t.tsv"
"$cli" keylist pack "$work/t.tsv" -o "$work/t.dat" 2>/dev/null
expected=$(printf '1\tk0\t-\tk2\tName\t1.0\tA.EXE\t5\tk7\tCo\t2\n2\tk\tAPP\tk\tN\t2\tB.exe\t6\tk\tCo\t1')
# (Windows ends each line with CR LF when the output is redirected.)
check "list" "$expected" "$("$cli" keylist list "$work/t.dat" | tr -d '\r')"

# Payload bytes exactly: CP949 with CR LF.
check "unpack bytes" "$(printf 'caption\tx\tx\tx\tx\r\nk0\t' | od -An -tx1 | head -1)" "$("$cli" keylist unpack "$work/t.dat" | od -An -tx1 | head -1)"
check "unpack is CP949" "b1 b9 b3 bb 0d 0a" "$("$cli" keylist unpack "$work/t.dat" | tail -c 6 | od -An -tx1 | xargs)"

# An odd-length container decodes as if its last byte were absent.
cp "$work/t.dat" "$work/odd.dat"; printf 'Z' >> "$work/odd.dat"
check "odd length" "$("$cli" keylist unpack "$work/t.dat" | od -An -tx1)" "$("$cli" keylist unpack "$work/odd.dat" | od -An -tx1)"

# Refusals: missing and empty key lists, usage errors.
"$cli" --utf8 keylist list "$work/none.dat" 2>"$work/err"; rc=$?
check "missing file message and where it was looked for" "Key File Open Error...|1" \
    "$(head -n1 "$work/err" | tr -d '\r')|$(grep -c '키 리스트를 찾아본 곳: .*none\.dat' "$work/err")"
check "missing file exit" "1" "$rc"
: > "$work/empty.dat"
"$cli" keylist unpack "$work/empty.dat" 2>"$work/err"; rc=$?
check "empty file message" "Key File Read Error..." "$(head -n1 "$work/err" | tr -d '\r')"
check "empty file exit" "1" "$rc"
"$cli" keylist pack "$work/t.tsv" 2>/dev/null; rc=$?
[ "$rc" -ne 0 ] && check "pack without -o is refused" x x || check "pack without -o is refused" nonzero "$rc"
printf 'c\tc\tc\tc\tc\na\tb@~@\tc\td\te\n' > "$work/bad.tsv"
"$cli" keylist pack "$work/bad.tsv" -o "$work/bad.dat" 2>/dev/null; rc=$?
check "pack refuses the terminator" "1" "$rc"

# -C: KEYLIST.DAT found in the given folder.
check "-C finds KEYLIST.DAT" "$("$cli" keylist list "$work/KEYLIST.DAT")" "$("$cli" -C "$work" keylist list)"
mkdir "$work/국내" && cp "$work/KEYLIST.DAT" "$work/국내/"
check "-C with a Korean folder name" "$("$cli" keylist list "$work/KEYLIST.DAT")" "$("$cli" -C "$work/국내" keylist list)"

# facts: four lines.
check "facts lines" "4" "$("$cli" facts | wc -l | xargs)"

exit $fail
