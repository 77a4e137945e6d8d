#!/usr/bin/env bash
# A result is complete or says what it left out: per-PC files named outside
# CP949 are read, a consolidation names the files it could not read, output
# that cannot be written fails the command, registry hives cut short or of
# the wrong kind are refused, a disk image cut short is refused and one with
# a damaged folder is scanned to the end with status 3, and another PC's
# disk never takes this machine's facts.
#   incomplete_results_test.sh CLI FIXTURES PE_FIXTURES MAKE_HIVE
set -u
cli=$1
fixtures=$2
pe=$3
make_hive=$4
work=$(mktemp -d)
mnt=$work/mnt
cleanup() { mountpoint -q "$mnt" 2>/dev/null && fusermount -u "$mnt"; rm -rf "$work"; }
trap cleanup EXIT
. "$(dirname "$0")/../check.sh"
tab=$'\t'

# Per-PC files as other systems name them: decomposed Hangul (macOS), raw
# CP949 bytes (a Korean zip unpacked), characters CP949 lacks.
w=$work/names
mkdir -p "$w/CheckOut"
for name in $'\xe1\x84\x80\xe1\x85\xa1\xe1\x86\xb7\xe1\x84\x89\xe1\x85\xa1_PC1.ipt' \
    $'\xb0\xa8\xbb\xe7_PC2.ipt' $'G_caf\xc3\xa9.ipt' $'G_PC\xf0\x9f\x98\x80.ipt'; do
    cp "$fixtures/CheckOut/a.ipt" "$w/CheckOut/$name"
done
"$cli" -C "$w" consolidate --name all >"$work/out" 2>"$work/err"
check "names outside CP949: status" "0" "$?"
check "names outside CP949: every file read" "PCs${tab}4 unreadable files${tab}0" \
    "$(grep -e '^PCs' -e '^unreadable' "$work/out" | tr '\n' ' ' | sed 's/ $//')"
check "names outside CP949: said so" "1 0" \
    "$(grep -c '^PC 4대 중 4대를 읽었습니다.$' "$work/err") $(grep -c 'file open error' "$work/err")"

# The same files named on the command line, as the shell gives their names.
"$cli" -C "$w" consolidate --name named $'G_caf\xc3\xa9.ipt' $'\xb0\xa8\xbb\xe7_PC2.ipt' \
    $'G_PC\xf0\x9f\x98\x80.ipt' >"$work/out" 2>"$work/err"
check "named outside CP949: every file read" "0 PCs${tab}3 unreadable files${tab}0" \
    "$? $(grep -e '^PCs' -e '^unreadable' "$work/out" | tr '\n' ' ' | sed 's/ $//')"

# Files that are no per-PC files are named with the reason; status 3.
: >"$w/CheckOut/empty.ipt"
cp "$fixtures/CheckOut/a.ipt" "$w/CheckOut/ok.ipt"
"$cli" -C "$w" consolidate --name part ok.ipt empty.ipt gone.ipt \
    >"$work/out" 2>"$work/err"
check "unread PCs: status 3" "3" "$?"
check "unread PCs: each named" "2" "$(grep -c -e '^empty.ipt: \[리스트\] 줄이 없습니다' \
    -e '^gone.ipt: 파일이 없습니다$' "$work/err")"
check "unread PCs: no success claimed" "0 PC 3대 중 1대를 읽었습니다." \
    "$(grep -c 성공 "$work/err") $(tail -n 1 "$work/err")"

# Output that cannot be written: status 1, for every command.
printf 'caption\tx\tx\tx\tx\nk0\tAPP\tk2\tName\t1.0\tA.EXE\t5\tk7\tCo\n' >"$work/k.tsv"
"$cli" keylist pack "$work/k.tsv" -o "$w/KEYLIST.DAT" 2>/dev/null
mkdir -p "$work/tree"
for args in "facts" "keylist list" "version-info $pe/english.dll" "consolidate --name full" \
    "scan --group G --name full --drive C=$work/tree"; do
    # shellcheck disable=SC2086
    "$cli" -C "$w" $args >/dev/full 2>/dev/null
    check "stdout full: ${args%% *}" "1" "$?"
done

for tool in mkntfs ntfs-3g fusermount; do
    command -v $tool >/dev/null || { echo "skipped: $tool is missing (Debian ntfs-3g)"; exit $fail; }
done

# Registry hives in a folder given as drive C:.
c=$work/c
cfg=$c/Windows/System32/config
mkdir -p "$cfg" "$work/h"
printf 'caption\tx\tx\tx\tx\nk0\tAPP\tk2\tName\t1.0\tA.EXE\t5\tk7\tCo\n' >"$work/k.tsv"
"$cli" keylist pack "$work/k.tsv" -o "$work/h/KEYLIST.DAT" 2>/dev/null
values=()
for i in $(seq 1 400); do values+=("Filler\\Key$i|Value|sz|$(printf '%0100d' "$i")"); done
"$make_hive" "$work/SYSTEM" 'Select|Current|dword|1' "${values[@]}" \
    'ControlSet001\Control\ComputerName\ComputerName|ComputerName|sz|WINPC'
"$make_hive" "$work/SOFTWARE" 'Microsoft\Windows NT\CurrentVersion|CurrentVersion|sz|5.1'
hscan() { "$cli" -C "$work/h" scan --group H --overwrite --drive "C=$c" >/dev/null 2>"$work/err"; }
cp "$work/SOFTWARE" "$cfg/SOFTWARE"
head -c 8192 "$work/SYSTEM" >"$cfg/SYSTEM"
hscan
check "hive cut at a bin: status 2" "2" "$?"
check "hive cut at a bin: file and fault named" "1" \
    "$(grep -c 'Windows/System32/config/SYSTEM".*하이브가 잘렸습니다' "$work/err")"
cp "$work/SOFTWARE" "$cfg/SYSTEM"
hscan
check "hive of another kind: status 2" "2" "$?"
check "hive of another kind: said so" "1" "$(grep -c 'SYSTEM 하이브가 아닙니다 (Select' "$work/err")"
cp "$work/SYSTEM" "$cfg/SYSTEM"
# The first sequence number one more, and the header's checksum (the XOR of
# its first 508 bytes, at 508) with it.
flip() { # offset
    local b; b=$(od -An -tu1 -j "$1" -N 1 "$cfg/SYSTEM" | tr -d ' ')
    printf "\\$(printf %03o $((b ^ 1)))" | dd of="$cfg/SYSTEM" bs=1 seek="$1" conv=notrunc 2>/dev/null
}
flip 4
flip 508
hscan
check "hive not cleanly written: read, with a warning" "0 1" \
    "$? $(grep -c '트랜잭션 로그(.LOG1, .LOG2)가 반영되지 않은' "$work/err")"
check "nothing written for refused hives" "H_WINPC.ipt" "$(ls "$work/h/CheckOut" | grep ipt)"

# An NTFS image without hives, with a folder whose record is damaged.
img=$work/win.img
truncate -s 32M "$img"
mkntfs -F -Q -q "$img" >/dev/null 2>&1
mkdir -p "$mnt"
ntfs-3g "$img" "$mnt" 2>"$work/mount.err" || {
    echo "skipped: ntfs-3g cannot mount here ($(cat "$work/mount.err"))"; exit $fail; }
mkdir -p "$mnt/Apps/Good" "$mnt/Apps/Broken"
cp "$pe/english.dll" "$mnt/Apps/Good/A.EXE"
cp "$pe/english.dll" "$mnt/Apps/Broken/A.EXE"
record=$(stat -c %i "$mnt/Apps/Broken")
fusermount -u "$mnt"
i=$work/i
mkdir -p "$i"
cp "$work/h/KEYLIST.DAT" "$i/"

head -c 16M "$img" >"$work/cut.img"
"$cli" -C "$i" scan --group I --name X --drive "C=$work/cut.img" >/dev/null 2>"$work/err"
check "image cut short: status 2, said before the walk" "2 1" \
    "$? $(grep -c '잘린 디스크 이미지입니다' "$work/err")"
check "image cut short: nothing written" "" "$(ls "$i/CheckOut" 2>/dev/null)"

"$cli" -C "$i" scan --group I --drive "C=$img" >/dev/null 2>"$work/err"
check "another PC's disk without a name: status 2 naming --name" "2 1" \
    "$? $(grep -c -- '--name' "$work/err")"
out=$("$cli" -C "$i" scan --group I --name X --drive "C=$img" 2>"$work/err")
check "another PC's disk: status" "0" "$?"
check "another PC's disk: no fact of this machine" "X - -" \
    "$(tr -d '\r' <"$out" | sed -n '2p;4p;6p' | tr '\n' ' ' | sed 's/ $//')"
check "another PC's disk: warnings name the options" "1 1" \
    "$(grep -c -- '--user' "$work/err") $(grep -c -- '--model' "$work/err")"

# The damaged record: its "FILE" signature and update sequence broken.
le() { od -An -t "u$2" -j "$1" -N "$2" "$img" | tr -d ' '; }
offset=$(($(le 48 8) * $(le 11 2) * $(le 13 1) + record * 1024))
head -c 1024 /dev/urandom | dd of="$img" bs=1 seek="$offset" conv=notrunc 2>/dev/null
out=$("$cli" -C "$i" scan --group I --name X --overwrite --drive "C=$img" 2>"$work/err")
check "damaged folder: status 3" "3" "$?"
check "damaged folder: said, not complete" "1 0" \
    "$(grep -c '^검사를 마쳤으나 폴더 1개, 파일 0개를 읽지 못했습니다' "$work/err") $(grep -c 완료 "$work/err")"
check "damaged folder: the per-PC file holds the rest" "C:\\Apps\\Good\\" \
    "$(tr -d '\r' <"$out" | sed -n '12,$p' | cut -f11)"
check "damaged folder: named in the log" "$(printf '폴더\t읽기 오류\tC:\\Apps\\\t')" \
    "$(iconv -f CP949 -t UTF-8 "$i/CheckOut/I_X.log" | tr -d '\r')"

exit $fail
