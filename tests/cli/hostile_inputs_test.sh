#!/usr/bin/env bash
# Inputs a shared work folder or a careless hand may hold: pipes and files
# larger than memory under the names the command reads, a per-PC file whose
# name holds backslashes, links at the outputs the user names, a key list of
# garbage, a folder in the journal's place and names that hide a formula.
# Nothing waits for ever, nothing aborts, nothing is read or written elsewhere.
#   hostile_inputs_test.sh CLI FIXTURES REPORTS(0|1)
set -u
cli=$1
fixtures=$2
reports=${3:-0}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
# The command, given 20 seconds: 124 when it waits for ever.
run() { timeout -s KILL 20 "$cli" "$@"; }
names=(--dept dept --checker checker --confirm-dept cdept --confirmer confirmer)
w=$work/run
mkdir -p "$w/CheckOut"
cp "$fixtures/CheckOut/a.ipt" "$fixtures/CheckOut/b.ipt" "$w/CheckOut/"
run -C "$w" consolidate --name t a.ipt b.ipt >/dev/null 2>&1
run -C "$w" result --name t "${names[@]}" >/dev/null 2>&1
printf '#\tcaption\tc\tc\tc\nk0\tAPP\tk2\tName\t1.0\tA.EXE\t5\tk7\tCo\n' >"$work/k.tsv"
run keylist pack "$work/k.tsv" -o "$w/KEYLIST.DAT" >/dev/null 2>&1
mkdir -p "$work/tree"
printf x >"$work/tree/readme.txt"
unreadable() { grep -c '^unreadable files	1$' "$1"; }

# A pipe, then a sparse file of 64 GiB, under every name the command reads.
for kind in pipe huge; do
    make() { rm -f "$1"; if [ $kind = pipe ]; then mkfifo "$1"; else truncate -s 64G "$1"; fi; }
    make "$w/CheckOut/x.ipt"
    run -C "$w" consolidate --name c --overwrite a.ipt x.ipt >"$work/out" 2>"$work/err"; rc=$?
    check "$kind per-PC file: counted unreadable" "3 1" "$rc $(unreadable "$work/out")"
    check "$kind per-PC file: no scratch file left" "" "$(ls "$w/CheckOut" | grep _tm)"
    for ext in tls rst; do
        cp -a "$w/CheckOut/t.$ext" "$work/t.$ext"
        make "$w/CheckOut/t.$ext"
        run -C "$w" export --name t --from "$([ $ext = tls ] && echo total || echo result)" \
            --csv "$work/o.csv" >/dev/null 2>&1
        check "$kind .$ext: export refuses it" "1" "$?"
        run -C "$w" result --name t "${names[@]}" >/dev/null 2>&1; rc=$?
        [ $ext = tls ] && check "$kind .$ext: result refuses it" "1" "$rc"
        rm -f "$w/CheckOut/t.$ext" && cp -a "$work/t.$ext" "$w/CheckOut/t.$ext"
    done
    make "$work/g.csv"
    run -C "$w" result --name t "${names[@]}" --genuine "$work/g.csv" >/dev/null 2>&1
    check "$kind --genuine file refused" "1" "$?"
    make "$work/keys"
    run -C "$w" scan --group G --name N --overwrite --keylist "$work/keys" --drive "C=$work/tree" \
        >/dev/null 2>"$work/err"; rc=$?
    check "$kind key list: Key File Open Error" "1 Key File Open Error..." "$rc $(head -n 1 "$work/err")"
    run keylist unpack "$work/keys" >/dev/null 2>&1
    check "$kind keylist unpack refuses it" "1" "$?"
    make "$work/apps"
    run -C "$w" scan --group G --name N --overwrite --app-paths "$work/apps" --drive "C=$work/tree" \
        >/dev/null 2>&1
    check "$kind application list refused" "2" "$?"
    make "$w/CheckOut/G_N.tmp"
    run -C "$w" scan --group G --name N --overwrite --drive "C=$work/tree" >/dev/null 2>&1
    # What stands under the journal's name is an earlier run's: left alone;
    # the scan's own journal, under a name of its own, goes at the end.
    check "$kind journal: left alone, scan done" "0 yes 0" \
        "$? $([ -e "$w/CheckOut/G_N.tmp" ] && echo yes || echo no) $(ls "$w/CheckOut" | grep -c '^G_N\.~')"
    rm -f "$w/CheckOut/G_N.tmp"
    rm -f "$w/CheckOut/x.ipt" "$work/g.csv" "$work/keys" "$work/apps"
done

# A per-PC file named with backslashes is a name of CheckOut, never a path:
# the file two folders up is not read.
mkdir -p "$work/deep/a/CheckOut"
cp "$fixtures/CheckOut/a.ipt" "$work/deep/a/CheckOut/"
cp "$fixtures/CheckOut/a.ipt" "$work/deep/a/CheckOut/..\\..\\x.ipt"
{
    head -n 11 "$fixtures/CheckOut/a.ipt"
    printf '2\t1\tK0\tAPP\tK2\tElsewhere\t1.0\tK7\tCo\t1\tC:\\P\\\t\r\n'
} >"$work/deep/x.ipt"
run -C "$work/deep/a" consolidate --name d >"$work/out" 2>/dev/null
check "backslash name: unreadable, not read from elsewhere" "1 0" \
    "$(unreadable "$work/out") $(grep -c Elsewhere "$work/deep/a/CheckOut/d.tls")"

# Outputs the user names: a link there is replaced by the new file, and
# what it led to stays as it was.
printf 'kept\n' >"$work/own.txt"
outputs=(csv)
[ "$reports" = 1 ] && outputs+=(pdf)
for out in "${outputs[@]}"; do
    ln -sf "$work/own.txt" "$work/named.$out"
    if [ $out = csv ]; then
        run -C "$w" export --name t --csv "$work/named.csv" >/dev/null 2>&1; rc=$?
    else
        QT_QPA_PLATFORM=offscreen run -C "$w" report --kind 3 --name t --pdf "$work/named.pdf" \
            >/dev/null 2>&1; rc=$?
    fi
    check "named $out through a link: a new file there" "0 plain kept" \
        "$rc $([ -f "$work/named.$out" ] && [ ! -L "$work/named.$out" ] && echo plain) $(cat "$work/own.txt")"
done

# A key list of garbage gives no clean-looking empty audit: the command
# refuses it unless told to go on, and says so either way.
head -c 3000 /dev/urandom | tr -d '\000' >"$work/garbage.dat"
head -c 40 "$w/KEYLIST.DAT" >"$work/cut.dat"
for keys in garbage cut; do
    run -C "$w" scan --group G --name K --keylist "$work/$keys.dat" --drive "C=$work/tree" \
        >/dev/null 2>"$work/err"; rc=$?
    check "$keys key list refused" "1 키 목록 파일에서 프로그램을 하나도 읽지 못했습니다. no" \
        "$rc $(head -n 1 "$work/err") $([ -e "$w/CheckOut/G_K.ipt" ] && echo yes || echo no)"
done
run -C "$w" scan --group G --name K --keylist "$work/garbage.dat" --drive "C=$work/tree" \
    --allow-empty-keylist >/dev/null 2>"$work/err"; rc=$?
check "--allow-empty-keylist scans, saying so" "0 1 yes" \
    "$rc $(grep -c '키 목록 파일에서' "$work/err") $([ -e "$w/CheckOut/G_K.ipt" ] && echo yes)"

# A folder under the journal's name is no journal of this scan's: it stays,
# and the scan keeps its own journal beside it.
mkdir -p "$w/CheckOut/G_J.tmp"
run -C "$w" scan --group G --name J --drive "C=$work/tree" >/dev/null 2>"$work/err"; rc=$?
check "journal folder: left alone, file written" "0 0 yes yes" \
    "$rc $(grep -c 'Write File Open Error' "$work/err") \
$([ -d "$w/CheckOut/G_J.tmp" ] && echo yes) $([ -f "$w/CheckOut/G_J.ipt" ] && echo yes)"

# Names that hide a formula behind a NUL or other control characters and
# blanks: the CSV holds no NUL, and the cell starts with an apostrophe.
mkdir -p "$work/f/CheckOut"
{
    head -n 11 "$fixtures/CheckOut/a.ipt"
    printf '2\t1\tK0\tAPP\tK2\t\000=HYPERLINK("http://x","y")\t1.0\tK7\t\001 +cmd\t1\tC:\\P\\\t\r\n'
} >"$work/f/CheckOut/f.ipt"
run -C "$work/f" consolidate --name f f.ipt >/dev/null 2>&1
run -C "$work/f" export --name f --from total --csv "$work/f.csv" >/dev/null 2>&1
check "hidden formulas: no NUL in the CSV" "0" "$(tr -cd '\000' <"$work/f.csv" | wc -c)"
check "hidden formulas: the cells a spreadsheet reads" \
    "$(printf '%s' "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",'"; printf '\001 +cmd,1,0,1,100.00%%,정상')" \
    "$(tail -n +2 "$work/f.csv" | tr -d '\r')"

exit $fail
