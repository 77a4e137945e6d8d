#!/usr/bin/env bash
# The guide-picture tool's BMP-to-PNG conversion and its check of a guide's
# pictures: a guide naming a missing, a blank and a nearly blank picture
# fails and names each of them (and not the good one); a guide naming only
# good pictures passes.
#   guide_check_test.sh ostravion-guide-pictures
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=1; }

le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
# bmp FILE KIND: 40x30 pixels, 24 bits; KIND white, speck (white with one
# black pixel) or stripes (black and white rows).
bmp() {
  local rows=30 row=120 y
  {
    printf 'BM'; le32 $((54 + rows * row)); le32 0; le32 54
    le32 40; le32 40; le32 $rows; le16 1; le16 24; le32 0; le32 $((rows * row))
    le32 2835; le32 2835; le32 0; le32 0
    for y in $(seq $rows); do
      if [ "$2" = stripes ] && [ $((y % 2)) -eq 0 ]; then
        head -c $row /dev/zero
      elif [ "$2" = speck ] && [ "$y" -eq 15 ]; then
        printf '\0\0\0'; head -c $((row - 3)) /dev/zero | tr '\0' '\377'
      else
        head -c $row /dev/zero | tr '\0' '\377'
      fi
    done
  } >"$1"
}

mkdir "$work/pictures"
bmp "$work/pictures/good.bmp" stripes
bmp "$work/pictures/blank.bmp" white
bmp "$work/pictures/speck.bmp" speck
"$tool" --png "$work/pictures" || fail "--png failed"
for n in good blank speck; do
  [ -s "$work/pictures/$n.png" ] || fail "--png did not write $n.png"
  [ -e "$work/pictures/$n.bmp" ] && fail "--png kept $n.bmp"
done

cat >"$work/bad.md" <<'MD'
# 안내
![주 창](guide-pictures/good.png)
![빈 그림](guide-pictures/blank.png) and ![점 하나](guide-pictures/speck.png)
![없는 그림](guide-pictures/missing.png) ![다시](guide-pictures/good.png)
MD
"$tool" --check "$work/bad.md" "$work/pictures" 2>"$work/bad.err"
status=$?
[ $status -eq 1 ] || fail "a guide with faulty pictures: status $status, not 1"
for n in missing blank speck; do
  grep -q "$n.png" "$work/bad.err" || fail "the check does not name $n.png: $(cat "$work/bad.err")"
done
grep -q "good.png" "$work/bad.err" && fail "the check names the good picture: $(cat "$work/bad.err")"

printf '![주 창](guide-pictures/good.png)\n' >"$work/good.md"
"$tool" --check "$work/good.md" "$work/pictures" >/dev/null 2>"$work/good.err" ||
  fail "a guide with good pictures fails: $(cat "$work/good.err")"

[ $failed -eq 0 ] && echo "ok the guide's pictures are checked"
exit $failed
