#!/usr/bin/env bash
# ostravion-cli.exe as a Korean Windows user meets it, under Wine in the
# Korean locale: redirected output in the Korean code page (UTF-8 with
# --utf8), Korean arguments, whole paths with backslashes, the key-list hint
# and the PDF report where the system has no PDF printer.
#   windows_text_test.sh CLI FIXTURES
set -u
cli=$1
fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
# CP949 with CR LF line ends, as Windows tools read text.
cp949() { iconv -f CP949 -t UTF-8 | tr -d '\r'; }
# The work folder as the program names it: drive Z:, backslashes.
winwork="Z:${work//\//\\}"

# A redirected stream gets CP949 bytes and CR LF; --utf8 (before or after
# the subcommand) gets UTF-8 as it is.
"$cli" scan 2>"$work/err"; rc=$?
check "no group: status" "2" "$rc"
check "no group: CP949 bytes, CR LF" "$(printf '회사(그룹)명은 필수항목 입니다.\r\n' | iconv -f UTF-8 -t CP949 | od -An -tx1)" \
    "$(od -An -tx1 <"$work/err")"
"$cli" --utf8 scan 2>"$work/err"
check "--utf8: UTF-8 bytes" "$(printf '회사(그룹)명은 필수항목 입니다.\n' | od -An -tx1)" "$(od -An -tx1 <"$work/err")"
"$cli" scan --utf8 2>"$work/err"
check "--utf8 after the subcommand" "회사(그룹)명은 필수항목 입니다." "$(cat "$work/err")"

# Korean arguments arrive whole: a Korean folder, a Korean total name; the
# path printed whole, with the system's separators.
mkdir -p "$work/감사"
cp -r "$fixtures/CheckOut" "$work/감사/"
"$cli" -C "$work/감사" consolidate --name 총괄 a.ipt >"$work/out" 2>"$work/err"; rc=$?
check "Korean arguments: status" "0" "$rc"
check "Korean arguments: the total file" "1" "$(ls "$work/감사/CheckOut" | grep -c '^총괄\.tls$')"
check "Korean arguments: its whole path in CP949" "total file	$winwork\\감사\\checkout\\총괄.tls" \
    "$(head -n1 "$work/out" | cp949)"
"$cli" -C "$work/감사" consolidate --name 총괄 a.ipt >/dev/null 2>"$work/err"; rc=$?
check "existing total: status" "1" "$rc"
check "existing total: what happened and the option" \
    "ostravion-cli: 같은 이름의 총괄 파일이 있어 취합하지 않았습니다: $winwork\\감사\\CheckOut\\총괄.tls|1" \
    "$(cp949 <"$work/err" | head -n1)|$(cp949 <"$work/err" | grep -c -- '--overwrite')"

# A folder without a key list: where it was looked for, and --keylist.
mkdir -p "$work/new"
"$cli" -C "$work/new" scan --group 한국상사 --name PC01 >/dev/null 2>"$work/err"; rc=$?
check "no key list: status" "1" "$rc"
check "no key list: the message, the place, the option" \
    "Key File Open Error...
키 리스트 파일을 열 수 없습니다.
ostravion-cli: 키 리스트를 찾아본 곳: $winwork\\new\\KEYLIST.DAT
ostravion-cli: 다른 키 리스트를 쓰려면 --keylist FILE 로 지정하십시오." "$(cp949 <"$work/err")"

# No PDF printer in a new prefix: the message names the other outputs.
"$cli" -C "$work/감사" report --kind 5 --pdf "$work/form.pdf" >/dev/null 2>"$work/err"; rc=$?
check "no PDF printer: status" "1" "$rc"
check "no PDF printer: the message" "1 1 1" "$(cp949 <"$work/err" |
    grep -c 'PDF 프린터("Microsoft Print to PDF")가 없어') $(cp949 <"$work/err" | grep -c -- '--emf FOLDER') $(
    cp949 <"$work/err" | grep -c -- '--printer NAME --output FILE')"
check "no PDF printer: no file" "no" "$([ -e "$work/form.pdf" ] && echo yes || echo no)"
exit $fail
