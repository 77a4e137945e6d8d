#!/usr/bin/env bash
# Draws the user guide's pictures (docs/guide/guide.md names them as
# guide-pictures/NAME.png) from the programs themselves, into OUT_DIR, made
# afresh:
#   win-*.png     the Windows program's windows, dialogs, boxes, print
#                 previews and menus, under the Korean Wine on a virtual display
#                 (ostravion-guide-pictures.exe of the Windows build)
#   qt-*.png      the Qt program's windows, offscreen
#                 (ostravion-guide-pictures of the Linux build)
#   report-*.png  the first page of each report and form, from the PDF that
#                 ostravion-cli report writes (pdftoppm)
# over one sample audit made by the programs in a temporary folder: per-PC
# files of three PCs in two groups scanned from fake drive folders with the
# sample key list, their total and a written result with genuine counts.
# Fails (non-zero) when a tool fails or a picture is missing or blank.
#
#   scripts/guide-pictures.sh LINUX_BUILD WINDOWS_BUILD OUT_DIR
#   scripts/guide-pictures.sh build build-win build/guide-pictures
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: scripts/guide-pictures.sh LINUX_BUILD WINDOWS_BUILD OUT_DIR" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
out=$3
start=$SECONDS

cli=$linux/src/ostravion-cli
qt_tool=$linux/src/ostravion-guide-pictures
win_tool=$windows/src/win/ostravion-guide-pictures.exe
for f in "$cli" "$qt_tool" "$win_tool" "$linux/vxa.spl"; do
  if [ ! -e "$f" ]; then
    echo "guide-pictures: $f is missing: build the Linux build ($1) and the Windows build ($2) first" >&2
    exit 1
  fi
done
command -v pdftoppm >/dev/null || { echo "guide-pictures: pdftoppm (poppler-utils) is missing" >&2; exit 1; }

# The folder is made afresh: never one that holds anything else of value.
if [ -e "$out" ]; then
  resolved=$(cd "$out" && pwd)
  for keep in / "$root" "$linux" "$windows" "${HOME:-/}"; do
    if [ "$resolved" = "$(cd "$keep" && pwd)" ]; then
      echo "guide-pictures: $out is not a folder of its own for the pictures" >&2
      exit 2
    fi
  done
fi
rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
source "$root/scripts/korean-wine.sh"
trap 'korean_wine_stop; rm -rf "$work"' EXIT

# ---- the sample audit ---------------------------------------------------
# A fake drive: files of the key list's names and sizes (sparse) below the
# folders given, one program per top folder.
drive() {
  local folder=$1 entry
  shift
  for entry in "$@"; do
    mkdir -p "$folder/$(dirname "${entry%=*}")"
    truncate -s "${entry#*=}" "$folder/${entry%=*}"
    # One date for every file, whatever day the pictures are drawn.
    touch -d 2026-03-02T10:00:00 "$folder/${entry%=*}"
  done
}
word=WINWORD.EXE=12345678 excel=EXCEL.EXE=9876543 hwp=HWP.EXE=2345678
photo=PHOTOSHP.EXE=13000000 alzip=ALZIP.EXE=1500000 zip=7ZFM.EXE=477696
v3=V3LITE.EXE=2500000 gcc=GCC.EXE=1200000 notepad=NOTEPAD.EXE=69120 wmp=WMPLAYER.EXE=73728
drive "$work/pc1" "Office/$word" "Office/$excel" "Hangul/$hwp" "Util/$alzip" "Antivirus/$v3"
drive "$work/pc2" "Office/$word" "Hangul/$hwp" "Photo/$photo" "Antivirus/$v3"
drive "$work/pc3" "Office/$excel" "Tools/$zip" "Tools/$notepad" "Compiler/bin/$gcc" "Antivirus/$v3"
# The drive the Windows program inspects while the pictures are taken.
drive "$work/pc4" "Office/$word" "Office/$excel" "Hangul/$hwp" "Util/$alzip" "Media/$wmp" \
  "Antivirus/$v3" "Tools/$zip" "Docs/README.TXT=2048"

data=$work/audit
mkdir -p "$data"
cp "$root/samples/KEYLIST.DAT" "$linux/vxa.spl" "$data/"
# The command line's output is shown only when it fails.
run_cli() {
  "$cli" -C "$data" "$@" >"$work/cli.log" 2>&1 || { cat "$work/cli.log" >&2; return 1; }
}
run_cli scan --group 영업부 --name PC-01 --user kimcs --model "Intel(R) Core(TM) i5-8500" \
  --drive "C=$work/pc1"
run_cli scan --group 영업부 --name PC-02 --user leeyh --model "Intel(R) Core(TM) i5-8500" \
  --drive "C=$work/pc2"
run_cli scan --group 개발부 --name PC-03 --user parkms --model "Intel(R) Core(TM) i7-9700" \
  --drive "C=$work/pc3"
run_cli consolidate --name audit
# Three free programs left unticked in the total, as an auditor leaves them
# out of the count (flag 9 in the first column of their rows).
sed -i 's/^2\t\(APP\t[^\t]*\t[^\t]*\tSample \(Zip Tool\|Notepad\|Compiler\)\t\)/9\t\1/' \
  "$data/CheckOut/audit.tls"
cat >"$work/genuine.csv" <<'EOF'
Sample Word Processor,2
Sample Spreadsheet,1
Sample Hangul Word Processor,2
Sample Antivirus,3
Sample Photo Editor,1
EOF
run_cli result --name audit --dept 정보보안팀 --checker 김감사 --confirm-dept 총무팀 \
  --confirmer 이확인 --pcs 3 --remark "상반기 정기 점검" --genuine "$work/genuine.csv"
# Each tool works on a copy of its own.
cp -r "$data" "$work/qt"
cp -r "$data" "$work/win"
made=$SECONDS

# ---- the report pages ---------------------------------------------------
# 96 dots per inch: an A4 page is 794 pixels wide.
for pair in 1=by-pc 3=by-program 4=confirmation 5=pledge 6=ledger; do
  run_cli report --kind "${pair%%=*}" --name audit --pdf "$work/report.pdf"
  pdftoppm -png -r 96 -f 1 -l 1 -singlefile "$work/report.pdf" "$out/report-${pair#*=}"
done
reports=$SECONDS

# ---- the Qt windows -----------------------------------------------------
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen "$qt_tool" --qt "$work/qt" "$out"
qt=$SECONDS

# ---- the Windows windows ------------------------------------------------
korean_wine_setup "$root"
korean_wine_display
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# A Wine desktop of its own draws the windows' frames and title bars; the
# tool's log says whether every picture was drawn, as the desktop does not
# hand the tool's exit status on.
LC_ALL=ko_KR.UTF-8 timeout 180 wine explorer /desktop=OstravionGuide,1280x800 "$win_tool" \
  "$(windows_path "$work/win")" "$(windows_path "$out")" "$(windows_path "$work/pc4")" \
  >/dev/null 2>&1 || true
log=$out/win-pictures.log
if [ ! -s "$log" ] || [ "$(tail -n1 "$log" | tr -d '\r')" != done ]; then
  echo "guide-pictures: the Windows program's pictures were not all drawn:" >&2
  [ -e "$log" ] && iconv -f CP949 -t UTF-8 "$log" >&2
  exit 1
fi
mv "$log" "$work/"
"$qt_tool" --png "$out"
win=$SECONDS

# ---- every picture there and not blank -----------------------------------
names=(win-main-empty win-start-dialog win-scan-progress win-scan-end win-main-after-scan
       win-select-files win-total-normal win-total-extended win-result-writing win-print-select
       win-preview-by-pc win-preview-by-program win-preview-confirmation win-preview-pledge
       win-preview-ledger win-about win-org-info
       win-menu-file win-menu-scan win-menu-consolidate win-menu-view win-menu-help
       qt-main-empty qt-main-total qt-main-extended qt-print-select qt-start-dialog
       qt-result-writing
       report-by-pc report-by-program report-confirmation report-pledge report-ledger)
printf '![](guide-pictures/%s.png)\n' "${names[@]}" >"$work/all.md"
"$qt_tool" --check "$work/all.md" "$out" >/dev/null

echo "guide-pictures: ${#names[@]} pictures in $out (sample audit $((made - start)) s," \
  "reports $((reports - made)) s, Qt $((qt - reports)) s, Windows $((win - qt)) s," \
  "total $((SECONDS - start)) s)"
