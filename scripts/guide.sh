#!/usr/bin/env bash
# Makes the user guide from a Linux and a Windows build: the programs of both
# draw its pictures (scripts/guide-pictures.sh), pandoc turns docs/guide/guide.md
# into one HTML page, and the build fails when the page shows a picture that
# was not drawn or is blank. Pictures the page does not show are left out.
#   scripts/guide.sh LINUX_BUILD WINDOWS_BUILD OUT
# OUT is made afresh and then holds 사용설명서.html and guide-pictures/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux=$(realpath "$1")
windows=$(realpath "$2")
out=$(realpath -m "$3")
start=$SECONDS

rm -rf "$out"
mkdir -p "$out"
bash "$root/scripts/guide-pictures.sh" "$linux" "$windows" "$out/guide-pictures"
drawn=$SECONDS

page=$out/사용설명서.html
pandoc --from markdown --to html5 --standalone --toc --toc-depth=2 \
  --include-in-header "$root/docs/guide/style.html" \
  --output "$page" "$root/docs/guide/guide.md"
"$linux/src/ostravion-guide-pictures" --check "$root/docs/guide/guide.md" "$out/guide-pictures"
shown=$(grep -o 'guide-pictures/[A-Za-z0-9._-]*\.png' "$page" | sed 's|^guide-pictures/||' | sort -u)
for picture in "$out"/guide-pictures/*; do
  grep -qxF "$(basename "$picture")" <<<"$shown" || rm -f "$picture"
done
echo "== guide: $(grep -c . <<<"$shown") pictures drawn in $((drawn - start)) s, page made in" \
  "$((SECONDS - drawn)) s: $page"
