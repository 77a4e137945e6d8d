#!/usr/bin/env bash
# report end to end: the five kinds of a consolidated and written audit as PDF,
# each page rendered, a Korean font embedded, the contents where they belong;
# a missing audit file and an unwritable PDF.
set -u
cli=$1
fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/xdg"
mkdir -p "$work/xdg" && chmod 700 "$work/xdg"
. "$(dirname "$0")/../check.sh"
cp -r "$fixtures/CheckOut" "$work/"
text() { pdftotext -layout "$1" - 2>/dev/null; }
squeeze() { tr -s ' '; }

for kind in 1 3 4 5 6; do
    pdf="$work/kind$kind.pdf"
    "$cli" -C "$work" report --kind $kind --name audit --pdf "$pdf" >"$work/out" 2>"$work/err"; rc=$?
    check "kind $kind exit" "0" "$rc"
    pages=$(sed -n 's/^pages\t//p' "$work/out")
    check "kind $kind pages in the PDF" "$pages" "$(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Pages: *//p')"
    pdftoppm -r 40 -png "$pdf" "$work/png$kind" 2>/dev/null
    check "kind $kind every page renders" "$pages" "$(ls "$work" | grep -c "^png$kind-.*\.png$")"
    check "kind $kind embeds a Korean font" "yes" \
        "$(pdffonts "$pdf" 2>/dev/null | awk '/^Nanum/ && $(NF-4) == "yes" { print "yes"; exit }')"
done

# Each title reads back from the PDF as it was written, its spaces as spaces.
declare -A titles=([1]="PC별 검사 결과" [3]="SW별 검사 결과" [4]="S/W 불법복제 점검결과 확인표"
                   [5]="서 약 서" [6]="S/W 관리 대장")
for kind in 1 3 4 5 6; do
    check "kind $kind title" "1" \
        "$(pdftotext -f 1 -l 1 "$work/kind$kind.pdf" - 2>/dev/null | grep -cxF "${titles[$kind]}")"
done

# By PC: the two groups' subtotals and the grand total; a long name cut to 20 bytes.
k1=$(text "$work/kind1.pdf" | squeeze)
check "by PC subtotals" "2" "$(grep -cE '소 계 (3종 S/W 3개|2종 S/W 2개) 발견' <<<"$k1")"
check "by PC grand total" "1" "$(grep -c '합 계 총 2대 PC 5종 S/W 5개 발견' <<<"$k1")"
check "by PC name cut" "2 DESIGN-WORKSTATION-0" \
    "$(grep -o 'DESIGN-WORKSTATION-0[0-9]*' <<<"$k1" | sort | uniq -c | tr -s ' ' | sed 's/^ //')"
check "by PC page number" "1" "$(grep -c -- '-1/1-' <<<"$k1")"

# By program: class A before B, C and "-"; the total with the PC count.
order=$(text "$work/kind3.pdf" | grep -oE 'Acrobat Reader|한글 2010|Office Excel|V3 Lite|Zip Tool' | tr '\n' ',')
check "by program order" "Acrobat Reader,한글 2010,Office Excel,V3 Lite,Zip Tool," "$order"
check "by program total" "1" "$(text "$work/kind3.pdf" | squeeze | grep -c '합 계 총 2대 PC 5종 S/W 23개 발견')"

# Confirmation sheet: unticked rows left out, counts, rates and the confirmer.
k4=$(text "$work/kind4.pdf" | squeeze)
check "sheet leaves out unticked rows" "0" "$(grep -c 'Acrobat' <<<"$k4")"
check "sheet totals" "1" "$(grep -cE '총 2대 PC 3종 S/W 20개 20 9 11' <<<"$k4")"
check "sheet rates" "1" "$(grep -cE '100% 45.00% 55.00%' <<<"$k4")"
check "sheet confirmer" "1" "$(grep -cE '부 서 명 : 정보화팀' <<<"$k4")"
check "sheet signature" "1" "$(grep -cE '명 : 홍길동 \(서명 또는 인\)' <<<"$k4")"
check "sheet without page number" "0" "$(grep -c -- '-1/1-' <<<"$k4")"

# The forms need no audit.
"$cli" -C "$work" report --kind 6 --pdf "$work/ledger.pdf" >/dev/null 2>&1; rc=$?
check "ledger without a name" "0" "$rc"
check "ledger caption" "1" "$(text "$work/ledger.pdf" | grep -c '관리책임자명')"
"$cli" -C "$work" report --kind 1 --pdf "$work/x.pdf" >/dev/null 2>"$work/err"; rc=$?
check "by PC needs a name" "2" "$rc"

# A total that does not exist: the reader's message, the no-data form, status 1.
"$cli" -C "$work" report --kind 3 --name nothing --pdf "$work/none.pdf" >"$work/out" 2>"$work/err"; rc=$?
check "missing total exit" "1" "$rc"
check "missing total message" "1" "$(grep -c '^Result File Open Error\.\.\.$' "$work/err")"
check "missing total no-data form" "1" "$(text "$work/none.pdf" | squeeze | grep -c '출력할 데이타가 없습니다.')"

# A PDF that cannot be written: status 1, an earlier file of that name kept.
mkdir -p "$work/ro" && echo keep >"$work/ro/out.pdf" && chmod 555 "$work/ro"
"$cli" -C "$work" report --kind 5 --pdf "$work/ro/out.pdf" >/dev/null 2>"$work/err"; rc=$?
if [ "$(id -u)" != 0 ]; then
    check "unwritable exit" "1" "$rc"
    check "unwritable keeps the old file" "keep" "$(cat "$work/ro/out.pdf")"
fi
"$cli" -C "$work" report --kind 5 --pdf "$work/no/such/dir/out.pdf" >/dev/null 2>"$work/err"; rc=$?
check "missing folder exit" "1" "$rc"
check "missing folder message" "1" "$(grep -c '파일을 쓸 수 없습니다' "$work/err")"
chmod 755 "$work/ro"

exit $fail
