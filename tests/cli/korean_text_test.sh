#!/usr/bin/env bash
# Korean text in and out: key lists round trip in both encodings, CSVs saved
# in CP949 or UTF-8 (with duplicates), characters without a CP949 form, and
# the command line's failures: stderr in Korean and the documented status.
set -u
cli=$1
samples=$2
fixtures=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
hex() { od -An -tx1 "$1" | tr -d ' \n'; }

# Key lists: unpack then pack gives the same container, CP949 or UTF-8, with
# or without a final line break.
head -c -1 "$samples/keylist-sample.tsv" > "$work/nobreak.tsv"
for tsv in "$samples/keylist-sample.tsv" "$work/nobreak.tsv"; do
    name=$(basename "$tsv")
    "$cli" keylist pack "$tsv" -o "$work/a.dat" 2>"$work/err"
    check "$name: 13 entries and the caption" "1" "$(grep -c '항목 13개와 제목 줄.*UTF-8' "$work/err")"
    "$cli" keylist unpack "$work/a.dat" > "$work/cp949.tsv"
    "$cli" keylist pack "$work/cp949.tsv" -o "$work/b.dat" 2>"$work/err"
    check "$name: CP949 round trip" "$(hex "$work/a.dat")" "$(hex "$work/b.dat")"
    check "$name: CP949 taken" "1" "$(grep -c 'CP949' "$work/err")"
    "$cli" --utf8 keylist unpack "$work/a.dat" > "$work/utf8.tsv"
    "$cli" keylist pack "$work/utf8.tsv" -o "$work/c.dat" 2>/dev/null
    check "$name: UTF-8 round trip" "$(hex "$work/a.dat")" "$(hex "$work/c.dat")"
done
check "a final line break is kept" "0d0a" "$("$cli" keylist unpack "$samples/KEYLIST.DAT" | tail -c 2 | od -An -tx1 | tr -d ' \n')"
check "the caption is not listed" "13|1" \
    "$("$cli" keylist list "$samples/KEYLIST.DAT" | wc -l | xargs)|$("$cli" keylist list "$samples/KEYLIST.DAT" | head -n1 | cut -f1)"

# Refused key-list lines: nothing is written, the line is named.
refuse_pack() { # name, TSV text, expected words in the message
    printf "$2" > "$work/r.tsv"
    rm -f "$work/r.dat"
    "$cli" keylist pack "$work/r.tsv" -o "$work/r.dat" 2>"$work/err"; rc=$?
    check "$1" "1|1|no file" "$rc|$(grep -c "$3" "$work/err")|$([ -e "$work/r.dat" ] && echo file || echo no file)"
}
cap='#\tc\tc\tc\tc\n'
refuse_pack "four columns" "${cap}a\tb\tc\td\n" "2번째 줄의 열이 4개뿐"
refuse_pack "a blank after a name" "${cap}k\tAPP\tk\tN\t1\tA.EXE \t5\n" "2번째 줄 5번 열의 앞이나 뒤에 공백"
refuse_pack "a lone CR" "${cap}k\tAPP\tk\tN\r1\tA.EXE\t5\n" "2번째 줄에 제어 문자"
refuse_pack "an emoji" "${cap}k\tAPP\tk\tN😀\t1\tA.EXE\t5\n" '2번째 줄 10번째 글자 "😀"(U+1F600)'
refuse_pack "a character beyond CP949" "${cap}k\tAPP\tk\t㐀\t1\tA.EXE\t5\n" '"㐀"(U+3400)'

# Genuine counts from a CSV saved in CP949 or UTF-8.
run=$work/run
mkdir -p "$run"
cp -r "$fixtures/CheckOut" "$run/"
"$cli" -C "$run" consolidate --name audit a.ipt b.ipt c.ipt >/dev/null 2>&1
names=(--dept 감사팀 --checker 김감사 --confirm-dept 전산실 --confirmer 이확인)
printf '한글 2004,1\r\n' | iconv -f UTF-8 -t CP949 > "$work/cp949.csv"
"$cli" -C "$run" result --name audit "${names[@]}" --genuine "$work/cp949.csv" >"$work/out" 2>"$work/err"; rc=$?
check "CP949 CSV applied" "0|1" "$rc|$(grep -c $'genuine counts applied\t1' "$work/out")"
cp "$run/CheckOut/audit.rst" "$work/before.rst"
printf '\xEF\xBB\xBFWord Pro,1\nnofolder,0\nword pro,2\nNOFOLDER, 0\n' > "$work/dup.csv"
"$cli" -C "$run" result --name audit "${names[@]}" --genuine "$work/dup.csv" >/dev/null 2>"$work/err"; rc=$?
check "conflicting counts refused, both lines named" "1|1" "$rc|$(grep -c '1번째 줄과 3번째 줄이 같은 프로그램에 다른 정품 수량' "$work/err")"
check "conflicting counts write nothing" "" "$(cmp "$work/before.rst" "$run/CheckOut/audit.rst")"
printf 'Word Pro,1\nword pro, 1\n' > "$work/same.csv"
"$cli" -C "$run" result --name audit "${names[@]}" --genuine "$work/same.csv" >"$work/out" 2>&1; rc=$?
check "the same count twice is taken" "0" "$rc"

# Failures: every line on stderr is Korean (the system's English file
# messages are followed by their Korean line), with the documented status.
english='^(Key File Open Error\.\.\.|Key File Read Error\.\.\.|Write File Open Error\.\.\.!!|Result File Open Error\.\.\.|file open error\.\.!|File is Bad Path or Bad Function paramater\.\.\.)$'
failure() { # name, expected status, command...
    local name=$1 want=$2
    shift 2
    "$cli" "$@" >/dev/null 2>"$work/err"; rc=$?
    local english_lines
    english_lines=$(grep -vP '[\x{AC00}-\x{D7A3}]' "$work/err" | grep -cvE "$english")
    check "$name" "$want|0|yes" "$rc|$english_lines|$([ -s "$work/err" ] && echo yes || echo no)"
}
failure "unknown option" 2 facts --bogus
failure "no subcommand" 2 --bogus
failure "missing argument" 2 keylist pack
failure "option without its value" 2 -C "$run" result --name
failure "unknown directory" 2 -C "$work/none" facts
failure "pcs not a number" 1 -C "$run" result --name audit "${names[@]}" --pcs abc
failure "no total" 1 -C "$run" result --name none "${names[@]}"
failure "unreadable CSV" 1 -C "$run" result --name audit "${names[@]}" --genuine "$work/none.csv"
failure "value without a CP949 form" 1 -C "$run" result --name audit --dept 팀😀 --checker a --confirm-dept b --confirmer c
failure "user without a CP949 form" 2 -C "$run" scan --group G --user 김😀 --drive "C=$work"
failure "drive folder missing" 2 -C "$run" scan --group G --drive "C=$work/none"
failure "export of no total" 1 -C "$run" export --name none --csv "$work/x.csv"
failure "export into no folder" 1 -C "$run" export --name audit --csv "$work/none/x.csv"
failure "pack into no folder" 1 keylist pack "$samples/keylist-sample.tsv" -o "$work/none/x.dat"
failure "missing key list" 1 keylist list "$work/none.dat"
failure "version-info of no file" 1 version-info "$work/none.exe"
failure "consolidate of no files" 1 -C "$work" consolidate --name x
check "the emoji is named, not a ?" "1" "$("$cli" -C "$run" scan --group G --user 김😀 2>&1 | grep -c '"😀"(U+1F600)')"
if "$cli" report --help >/dev/null 2>&1; then
    failure "report kind not offered" 2 report --kind 2 --pdf "$work/x.pdf"
fi

# Help in Korean, for the program and each subcommand.
for sub in "" keylist "keylist pack" facts consolidate scan result export version-info; do
    # shellcheck disable=SC2086
    help=$("$cli" $sub --help 2>&1); rc=$?
    check "help $sub" "0|1|0" "$rc|$(grep -c '^사용법:' <<<"$help")|$(grep -cE '^(Options|Subcommands|Usage|Positionals):' <<<"$help")"
done

exit $fail
