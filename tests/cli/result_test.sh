#!/usr/bin/env bash
# consolidate -> result -> export end to end: the refusals that write nothing,
# the first save, the genuine-count import, and a CSV whose copies and rates
# agree with the written-result file.
set -u
cli=$1
fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
run=$work/run
mkdir -p "$run"
cp -r "$fixtures/CheckOut" "$run/"
utf8() { iconv -f CP949 -t UTF-8 "$1" | tr -d '\r'; }
names=(--dept 감사팀 --checker 김감사 --confirm-dept 전산실)

"$cli" -C "$run" consolidate --name audit a.ipt b.ipt c.ipt >/dev/null 2>&1
cp "$run/CheckOut/audit.tls" "$work/consolidated.tls"

# An empty confirmer: its message, a failure, and nothing written (not even
# the first save of the total).
"$cli" -C "$run" result --name audit "${names[@]}" --confirmer "" >"$work/out" 2>"$work/err"; rc=$?
check "empty confirmer exit" "1" "$rc"
check "empty confirmer message" "확인자명을 입력해주세요." "$(cat "$work/err")"
check "empty confirmer writes no result" "" "$(ls "$run/CheckOut" | grep rst)"
check "empty confirmer keeps the total" "" "$(cmp "$work/consolidated.tls" "$run/CheckOut/audit.tls")"
"$cli" -C "$run" result --name audit --checker x --confirm-dept y --confirmer z >/dev/null 2>"$work/err"
check "missing department message" "점검부서를 입력해주세요." "$(cat "$work/err")"

# A count above the installed count is refused as the dialog refuses it:
# status 1, and nothing written, not even the first save.
printf '"한글 2004",5\r\n' >"$work/above.csv"
"$cli" -C "$run" result --name audit "${names[@]}" --confirmer 이확인 --genuine "$work/above.csv" \
    >/dev/null 2>"$work/err"; rc=$?
check "count above installed refused" "1" "$rc"
check "count above installed message" "1" \
    "$(grep -c '^정품 소프트웨어 수량은 설치된 소프트웨어 수량을 넘을수 없습니다.$' "$work/err")"
check "count above installed writes nothing" "" \
    "$(ls "$run/CheckOut" | grep rst; cmp "$work/consolidated.tls" "$run/CheckOut/audit.tls")"

# A genuine-count file with a byte-order mark, quoted names (one holding a
# comma and quotes), a name in other letter case and a name without a row.
printf '\xEF\xBB\xBF"word pro",1\r\n"한글 2004",0\r\n"Unknown, ""quoted"" name",2\r\n' >"$work/genuine.csv"
"$cli" -C "$run" result --name audit "${names[@]}" --confirmer 이확인 --pcs 3 \
    --remark $'첫째 줄\n둘째 줄' --genuine "$work/genuine.csv" >"$work/out" 2>"$work/err"; rc=$?
check "result exit" "0" "$rc"
check "first save before the result" "1" "$(grep -c '^저장되었습니다.$' "$work/err")"
check "unknown name listed" "1" "$(grep -c '결과에 "Unknown, "quoted" name" 프로그램이 없어' "$work/err")"
# Whole paths, with the system's separators; Windows names are blind to
# letter case: there the work folder is written in lower case.
workFolder=$run/CheckOut/
[ -n "${OSTRAVION_WINDOWS:-}" ] && workFolder="Z:${run//\//\\}\\checkout\\"
check "result summary" "$(printf 'result file\t%saudit.rst\ntotal file\t%saudit.tls\nprograms\t2\ngenuine counts applied\t2' "$workFolder" "$workFolder")" \
    "$(cat "$work/out")"
check "written result" "[점검부서]
감사팀
[점검자]
김감사
[확인부서]
전산실
[확인자]
이확인
[PC수량]
3
[기타]
첫째 줄#r#n둘째 줄


[리스트]
2	APP	K2	K0	Word Pro	1.0	3	1	2	K7	Acme	1	1	
0	APP	K2	K0	한글 2004	1.0	1	0	1	K7	한컴	1	2	" "$(utf8 "$run/CheckOut/audit.rst")"
check "total keeps the uncounted rows and the history" \
    "$(utf8 "$run/CheckOut/audit.rst"; utf8 "$work/consolidated.tls" | grep $'^9\t'
       utf8 "$work/consolidated.tls" | sed -n '/^\[PC_HISTORY\]/,$p')" \
    "$(utf8 "$run/CheckOut/audit.tls")"
check "no replacement file left" "" "$(ls "$run/CheckOut" | grep '\.new$')"

# The export: a byte-order mark, a header, and per row the copies and the rate
# that the written-result file's counts give.
"$cli" -C "$run" export --name audit --csv "$work/out.csv" >"$work/out" 2>"$work/err"; rc=$?
check "export exit" "0" "$rc"
check "export starts with a byte-order mark" "efbbbf" "$(head -c 3 "$work/out.csv" | od -An -tx1 | tr -d ' ')"
check "export header" "프로그램명,저작사명,설치수량,정품수량,복제수량,불법복제율,비고" \
    "$(sed -n 1p "$work/out.csv" | tail -c +4 | tr -d '\r')"
from_rst=$(utf8 "$run/CheckOut/audit.rst" | awk -F'\t' 'NF >= 13 && $1 != "9" {
    rate = $7 == 0 ? 0 : ($7 - $8) * 100 / $7
    printf "%s,%s,%s,%s,%d,%.2f%%\n", $5, $11, $7, $8, $7 - $8, rate }')
check "export agrees with the written result" "$from_rst" \
    "$(tail -n +2 "$work/out.csv" | tr -d '\r' | cut -d, -f1-6)"
check "export remarks" "$(printf '정상\n예외')" "$(tail -n +2 "$work/out.csv" | tr -d '\r' | cut -d, -f7)"
"$cli" -C "$run" export --name audit --csv "$work/total.csv" --from total >/dev/null 2>&1
check "export from the total lists the same counted rows" "" "$(cmp "$work/out.csv" "$work/total.csv")"

# Names found on audited PCs that a spreadsheet would run as formulas are
# exported as text, behind an apostrophe; counts, rates and "-" as they are.
formula=$work/formula
mkdir -p "$formula/CheckOut"
{
    head -n 11 "$fixtures/CheckOut/a.ipt"
    printf '2\t1\tK0\tAPP\tK2\t%s\t1.0\tK7\t%s\t1\tC:\\P\\\t\r\n' \
        '=HYPERLINK("http://x","y")' "+cmd|' /C calc'!A0" '@SUM(1+1)' '-2+3' 'Plain' '-'
} >"$formula/CheckOut/f.ipt"
"$cli" -C "$formula" consolidate --name f f.ipt >/dev/null 2>&1
"$cli" -C "$formula" export --name f --from total --csv "$work/f.csv" >/dev/null 2>&1; rc=$?
check "formula-looking names exported" "0" "$rc"
check "formula-looking names stay text" \
    "$(printf '%s\n' "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",'+cmd|' /C calc'!A0,1,0,1,100.00%,정상" \
        "'@SUM(1+1),'-2+3,1,0,1,100.00%,정상" "Plain,-,1,0,1,100.00%,정상")" \
    "$(tail -n +2 "$work/f.csv" | tr -d '\r')"

# A second run finds the written result: no save first, and the counts and
# the remark stay as written. Named with capitals, it finds the lower-case
# files earlier versions wrote where names differ by letter case.
cp "$run/CheckOut/audit.rst" "$work/first.rst"
"$cli" -C "$run" result --name Audit "${names[@]}" --confirmer 이확인 >"$work/out" 2>"$work/err"; rc=$?
check "second run exit" "0" "$rc"
check "second run saves nothing first" "" "$(cat "$work/err")"
check "second run keeps counts and remark" "" "$(cmp "$work/first.rst" "$run/CheckOut/audit.rst")"
check "second run writes the lower-case files" "audit.cand audit.rst audit.tls" "$(cd "$run/CheckOut" && echo [Aa]udit.*)"

# With a written result, a count above the installed count keeps the stored
# counts: status 1 and nothing written.
"$cli" -C "$run" result --name audit "${names[@]}" --confirmer 이확인 --genuine "$work/above.csv" \
    >/dev/null 2>&1; rc=$?
check "second run count above installed refused" "1" "$rc"
check "second run count above installed keeps the result" "" "$(cmp "$work/first.rst" "$run/CheckOut/audit.rst")"

# An empty or foreign written result never strips the total of its rows.
cp "$run/CheckOut/audit.tls" "$work/kept.tls"
: >"$run/CheckOut/audit.rst"
"$cli" -C "$run" result --name audit "${names[@]}" --confirmer 이확인 >"$work/out" 2>"$work/err"; rc=$?
check "empty written result refused" "1" "$rc"
check "empty written result message" "Result File Open Error..." "$(head -n 1 "$work/err")"
check "empty written result keeps the total" "" "$(cmp "$work/kept.tls" "$run/CheckOut/audit.tls")"
cp "$work/first.rst" "$run/CheckOut/audit.rst"

# Refusals that write nothing: a bad PC count, a broken CSV, no total.
cp "$run/CheckOut/audit.tls" "$work/before.tls"
"$cli" -C "$run" result --name audit "${names[@]}" --confirmer z --pcs 2.5 >/dev/null 2>&1; rc=$?
check "bad PC count refused" "1" "$rc"
printf 'Word Pro,"1\n' >"$work/broken.csv"
"$cli" -C "$run" result --name audit "${names[@]}" --confirmer z --genuine "$work/broken.csv" \
    >/dev/null 2>"$work/err"; rc=$?
check "broken CSV refused" "1" "$rc"
check "broken CSV names the line" "1" "$(grep -c '1번째 줄: 따옴표로 연 칸이 닫히지 않았습니다' "$work/err")"
check "refusals keep the files" "" "$(cmp "$work/before.tls" "$run/CheckOut/audit.tls"; cmp "$work/first.rst" "$run/CheckOut/audit.rst")"
"$cli" -C "$run" result --name none "${names[@]}" --confirmer z >/dev/null 2>"$work/err"; rc=$?
check "no total refused" "1" "$rc"
check "no total message" "Result File Open Error..." "$(head -n 1 "$work/err")"
"$cli" -C "$run" export --name none --csv "$work/none.csv" >/dev/null 2>"$work/err"; rc=$?
check "export without file refused" "1" "$rc"
check "export without file writes nothing" "" "$(ls "$work" | grep none.csv)"

# Values typed like the file's own markers stay values: however often the
# result is written, the total keeps its rows and exactly the history of the
# three PCs.
marked=$work/marked
mkdir -p "$marked"
cp -r "$fixtures/CheckOut" "$marked/"
"$cli" -C "$marked" consolidate --name tot a.ipt b.ipt c.ipt >/dev/null 2>&1
for round in 1 2 3; do
    "$cli" -C "$marked" result --name tot --dept '[리스트]' --checker b --confirm-dept c \
        --confirmer d --pcs 9 --remark 'note [PC_HISTORY]' >/dev/null 2>&1
    [ $round = 1 ] && utf8 "$marked/CheckOut/tot.tls" >"$work/first.tls"
done
check "marker-shaped values kept" "$(printf '[리스트]\nnote [PC_HISTORY]')" \
    "$(utf8 "$marked/CheckOut/tot.tls" | sed -n '2p;12p')"
check "marker-shaped values change nothing on later writes" "" \
    "$(utf8 "$marked/CheckOut/tot.tls" | diff "$work/first.tls" -)"
check "marker-shaped values leave the programs" \
    "$(utf8 "$work/consolidated.tls" | awk -F'\t' 'NF >= 13 { print $5 }' | sort)" \
    "$(utf8 "$marked/CheckOut/tot.tls" | awk -F'\t' 'NF >= 13 { print $5 }' | sort)"
check "marker-shaped values leave the history" \
    "$(utf8 "$work/consolidated.tls" | sed -n '/^\[PC_HISTORY\]$/,$p')" \
    "$(utf8 "$marked/CheckOut/tot.tls" | sed -n '/^\[PC_HISTORY\]$/,$p')"

exit $fail
