#!/usr/bin/env bash
# Builds the program and runs the main job. With a display, the desktop
# program starts in the work folder build/work (the sample KEYLIST.DAT and the
# splash picture beside it, results in build/work/CheckOut). Without one, it
# says so and runs the inspection from the command line instead: a whole
# inspection of this machine (every local disk file system) with the sample
# key list; the per-PC result file goes to CheckOut/ in the repository's
# folder. Then it goes the rest of the road: it consolidates that file into a
# total, writes the by-PC report as a PDF and prints where each file is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cmake --build build -j"$(nproc)" --target ostravion ostravion_splash_picture
  work=build/work
  mkdir -p "$work"
  cp samples/KEYLIST.DAT build/vxa.spl "$work"/
  echo "== starting the desktop program in $work"
  cd "$work"
  exec ../src/ostravion "$@"
fi

echo "== no display (neither DISPLAY nor WAYLAND_DISPLAY is set): the desktop program"
echo "   cannot be shown here; running the inspection from the command line instead"
cmake --build build -j"$(nproc)" --target ostravion-cli
cli=build/src/ostravion-cli
echo "== this PC"
"$cli" facts
echo "== a whole inspection of this PC with the sample key list (Ctrl+C stops it)"
result=$("$cli" scan --group SAMPLE --keylist samples/KEYLIST.DAT --overwrite)
# The programs found: the lines after "[리스트]" in the per-PC file (CP949).
programs=$(iconv -f CP949 -t UTF-8 "$result" | tr -d '\r' |
  awk 'listed && NF { n++ } /^\[리스트\]$/ { listed = 1 } END { print n + 0 }')

echo "== consolidating the per-PC file into the total SAMPLE"
totals=$("$cli" consolidate --name SAMPLE --overwrite "$(basename "$result")")
printf '%s\n' "$totals" | grep -v '^total file'

echo "== the by-PC report as a PDF"
report=$PWD/CheckOut/SAMPLE-by-pc.pdf
"$cli" report --kind 1 --name SAMPLE --pdf "$report" | grep '^pages'

echo
echo "== where the files are"
echo "   per-PC result file: $result"
echo "   total file:         $PWD/CheckOut/SAMPLE.tls"
echo "   by-PC report (PDF): $report"
echo
if [ "$programs" = 0 ]; then
  echo "The inspection found no programs on this machine: the sample key list and the"
  echo "version strings identify Windows programs, and this machine has none, so the"
  echo "total and the report list none. On a Windows PC, or with"
  echo "'ostravion-cli scan --drive C=DIR' on a copy of one, they appear."
else
  echo "The inspection found $programs programs (the total merges them by name)."
fi
