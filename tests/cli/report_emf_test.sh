#!/usr/bin/env bash
# report on Windows end to end: the five kinds of a consolidated and written
# audit as enhanced metafiles, one file per page named in page order, with the
# texts where the PDF of the Linux build has them; a report of many pages; the
# printer options without a printer.
set -u
cli=$1
fixtures=$2   # tests/cli/report: the audit
consolidate=$3 # tests/cli/consolidate: per-PC files to make a long report from
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
# The texts of a metafile's text records (EMR_EXTTEXTOUTW), one a line, UTF-8.
texts() {
    perl -e 'binmode STDOUT, ":utf8"; local $/; open my $f, "<:raw", $ARGV[0] or exit 1;
        my $d = <$f>; my $at = 0;
        while ($at + 8 <= length $d) {
            my ($type, $size) = unpack "V V", substr($d, $at, 8);
            last if $size < 8;
            if ($type == 84) {
                my ($n, $off) = unpack "V V", substr($d, $at + 44, 8);
                print pack("U*", unpack("v*", substr($d, $at + $off, 2 * $n))), "\n";
            }
            $at += $size;
        }' "$1"
}
squeeze() { tr -s ' '; }
cp -r "$fixtures/CheckOut" "$work/"

declare -A titles=([1]="PC별 검사 결과" [3]="SW별 검사 결과" [4]="S/W 불법복제 점검결과 확인표"
                   [5]="서 약 서" [6]="S/W 관리 대장")
for kind in 1 3 4 5 6; do
    out="$work/kind$kind"
    "$cli" -C "$work" report --kind $kind --name audit --emf "$out" >"$work/out" 2>"$work/err"; rc=$?
    check "kind $kind exit" "0" "$rc"
    pages=$(sed -n 's/^pages\t//p' "$work/out" | tr -d '\r')
    check "kind $kind one page, one file" "$pages" "$(ls "$out" | grep -c '^page-[0-9]*\.emf$')"
    check "kind $kind enhanced metafile" " EMF" "$(head -c 44 "$out/page-001.emf" | tail -c 4)"
    check "kind $kind title" "1" "$(texts "$out/page-001.emf" | grep -cxF "${titles[$kind]}")"
done

# The contents of the Linux PDF, read from the records.
k1=$(texts "$work/kind1/page-001.emf" | squeeze)
check "by PC subtotals" "2" "$(grep -cE '소 계 (3종 S/W 3개|2종 S/W 2개) 발견' <<<"$k1")"
check "by PC grand total" "1" "$(grep -c '합 계 총 2대 PC 5종 S/W 5개 발견' <<<"$k1")"
check "by PC page number" "1" "$(grep -cx -- '-1/1-' <<<"$k1")"
k4=$(texts "$work/kind4/page-001.emf" | squeeze)
check "sheet totals" "20 9 11" "$(grep -A3 -x '총 2대 PC 3종 S/W 20개' <<<"$k4" | tail -3 | tr '\n' ' ' | sed 's/ $//')"
check "sheet rates" "100% 45.00% 55.00%" "$(grep -A3 -x '비 율' <<<"$k4" | tail -3 | tr '\n' ' ' | sed 's/ $//')"
check "sheet confirmer" "1" "$(grep -c '부 서 명 : 정보화팀' <<<"$k4")"

# Thirty PCs: a by-PC report of many pages, each file its own page; then a
# shorter report into the same folder leaves none of the longer one's pages.
mkdir -p "$work/many/CheckOut"
for i in $(seq -w 1 30); do
    sed "2s/.*/PC-$i\r/" "$consolidate/CheckOut/a.ipt" >"$work/many/CheckOut/pc$i.ipt"
done
"$cli" -C "$work/many" consolidate --name many >/dev/null 2>&1
"$cli" -C "$work/many" report --kind 1 --name many --emf "$work/long" >"$work/out" 2>"$work/err"; rc=$?
check "long report exit" "0" "$rc"
# The Linux build's PDF of the same audit has 7 pages and 90 entries.
check "long report pages as the Linux PDF" "$(printf 'pages\t7\nentries\t90')" \
    "$(grep -E '^(pages|entries)' "$work/out" | tr -d '\r')"
check "long report files" "$(printf 'page-%03d.emf\n' 1 2 3 4 5 6 7)" "$(ls "$work/long")"
for p in 1 4 7; do
    check "long report page $p in its file" "1" \
        "$(texts "$work/long/page-00$p.emf" | grep -cx -- "-$p/7-")"
done
"$cli" -C "$work" report --kind 1 --name audit --emf "$work/long" >/dev/null 2>&1
check "a shorter report replaces the pages" "page-001.emf" "$(ls "$work/long")"

# Printers: none in a new prefix; the options that go together.
"$cli" -C "$work" report --kind 5 --printer "Nowhere" >"$work/out" 2>"$work/err"; rc=$?
check "unknown printer exit" "1" "$rc"
check "unknown printer message" "1" "$(grep -c '이런 이름의 프린터가 없습니다: Nowhere' "$work/err")"
"$cli" -C "$work" report --kind 5 >/dev/null 2>"$work/err"; rc=$?
check "an output is needed" "2 1" "$rc $(grep -c 'report 에는 --pdf FILE, --emf FOLDER, --printer NAME 중 하나가 필요합니다' "$work/err")"
"$cli" -C "$work" report --kind 5 --emf "$work/x" --printer P >/dev/null 2>&1; rc=$?
check "metafiles or a printer, not both" "1" "$([ $rc -ne 0 ] && echo 1)"
"$cli" -C "$work" report --kind 5 --pdf "$work/x.pdf" --emf "$work/x" >/dev/null 2>&1; rc=$?
check "a PDF or metafiles, not both" "1" "$([ $rc -ne 0 ] && echo 1)"
check "help names the options of this build" "1" \
    "$("$cli" report --help 2>&1 | grep -c -- '--emf 텍스트')"
exit $fail
