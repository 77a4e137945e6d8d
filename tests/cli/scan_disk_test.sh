#!/usr/bin/env bash
# The offline audit of a Windows disk: an NTFS image made with mkntfs and
# filled through ntfs-3g with programs and registry hives, scanned directly
# (no mount), scanned mounted, and a plain copy of its tree scanned with the
# App Paths and facts given by hand: the three per-PC files are the same but
# for the scan time, links and all. Then the disks that cannot be read.
#   scan_disk_test.sh CLI PE_FIXTURES MAKE_HIVE
set -u
cli=$1
pe=$2
make_hive=$3
for tool in mkntfs ntfs-3g fusermount setfattr; do
    command -v $tool >/dev/null || { echo "skipped: $tool is missing (Debian ntfs-3g, attr)"; exit 77; }
done
work=$(mktemp -d)
mnt=$work/mnt
cleanup() { mountpoint -q "$mnt" 2>/dev/null && fusermount -u "$mnt"; rm -rf "$work"; }
trap cleanup EXIT
. "$(dirname "$0")/../check.sh"
tab=$'\t'

img=$work/win.img
truncate -s 16M "$img"
mkntfs -F -Q -q -L WIN "$img" >/dev/null 2>&1
mkdir -p "$mnt"
ntfs-3g "$img" "$mnt" 2>"$work/mount.err" || {
    echo "skipped: ntfs-3g cannot mount here ($(cat "$work/mount.err"))"; exit 77; }

# The tree: a listed program, a listed name whose size and version match
# nothing (its strings read from the disk), a program registered in the
# 32-bit view of App Paths, one registered nowhere, an installer, Korean names.
cfg=$mnt/Windows/System32/config
mkdir -p "$mnt/Program Files/Office" "$mnt/Program Files (x86)/도구" "$mnt/Apps/Deep/Deeper" "$cfg"
head -c 1000 /dev/zero > "$mnt/Program Files/Office/WINWORD.EXE"
cp "$pe/korean.exe" "$mnt/Program Files (x86)/도구/KOREAN.EXE"
cp "$pe/english.dll" "$mnt/Apps/Deep/Deeper/Example.exe"
cp "$pe/english.dll" "$mnt/Apps/Unregistered.exe"
head -c 10 /dev/zero > "$mnt/Program Files/Office/SETUP.EXE"
# A listed program marked as a system file alone (neither archive nor
# hidden) is passed over, in a folder as deep as any.
mkdir -p "$mnt/Program Files/Office/Old"
head -c 1000 /dev/zero > "$mnt/Program Files/Office/Old/WINWORD.EXE"
setfattr -n system.ntfs_attrib_be -v 0x00000004 "$mnt/Program Files/Office/Old/WINWORD.EXE"
ln "$mnt/Program Files/Office/WINWORD.EXE" "$mnt/Apps/WINWORD.EXE" # a second name
# Links made through the mount, to a folder and to a listed program: listed
# where they lie, never followed, mounted or read directly.
ln -s "../Program Files/Office" "$mnt/Apps/OfficeLink"
ln -s "../../Program Files/Office/WINWORD.EXE" "$mnt/Apps/Deep/WINWORD.EXE"
"$make_hive" "$cfg/SYSTEM" 'Select|Current|dword|1' \
    'ControlSet001\Control\ComputerName\ComputerName|ComputerName|sz|WINPC' \
    'ControlSet001\Control\Session Manager\Environment|PROCESSOR_ARCHITECTURE|sz|x86' \
    'ControlSet001\Control\Session Manager\Environment|PROCESSOR_LEVEL|sz|6' \
    'ControlSet001\Control\Session Manager\Environment|PROCESSOR_REVISION|sz|0806' \
    'ControlSet001\Control\ProductOptions|ProductType|sz|WinNT'
"$make_hive" "$cfg/SOFTWARE" \
    'Microsoft\Windows\CurrentVersion\Authentication\LogonUI|LastLoggedOnUser|sz|OFFICE\kim' \
    'Microsoft\Windows NT\CurrentVersion|CurrentVersion|sz|5.1' \
    'Microsoft\Windows\CurrentVersion\App Paths\IEXPLORE.EXE' \
    'WOW6432Node\Microsoft\Windows\CurrentVersion\App Paths\example.exe'
copy=$work/copy
cp -r "$mnt" "$copy"
rm -r "$copy/Windows/System32/config" "$copy/Program Files/Office/Old"
fusermount -u "$mnt"

printf '%s\n' "caption${tab}x${tab}x${tab}x${tab}x" \
    "K0${tab}APP${tab}OFFICE${tab}Word${tab}9.0${tab}WINWORD.EXE${tab}1000${tab}K7${tab}Acme${tab}국외" \
    "K0${tab}APP${tab}TOOL${tab}Audit${tab}9.9${tab}KOREAN.EXE${tab}1${tab}K7${tab}Kor${tab}국내" \
    "K0${tab}APP${tab}TOOL${tab}Setup${tab}1.0${tab}SETUP.EXE${tab}10${tab}K7${tab}Acme${tab}국외" \
    > "$work/keys.tsv"
for run in image mounted copy; do
    mkdir -p "$work/$run"
    "$cli" keylist pack "$work/keys.tsv" -o "$work/$run/KEYLIST.DAT" 2>/dev/null
done
printf 'IEXPLORE.EXE\nEXAMPLE.EXE\n' > "$work/apps.txt"
# The scan time is the one line that may differ.
body() { tr -d '\r' < "$1" | sed 8d; }
# Programs come in the order the folders list them (which also decides the
# repeats marked 4): the copy, made from the disk by cp, holds its small
# folders' entries in the disk's order, which ext4 and tmpfs keep.

out=$("$cli" -C "$work/image" scan --group ACME --drive "C=$img" 2>"$work/err")
check "image: status" "0" "$?"
check "image: named after the disk's computer" "$work/image/CheckOut/ACME_WINPC.ipt" "$out"
text=$(iconv -f CP949 -t UTF-8 < "$out" | tr -d '\r')
check "image: computer, user and processor from the hives" "WINPC kim Intel Pentinum Pro or Pentium II Revision 806" \
    "$(echo "$text" | sed -n '2p;4p;6p' | tr '\n' ' ' | sed 's/ $//')"
check "image: programs found, with strings read from the disk" "4" "$(echo "$text" | sed -n '12,$p' | grep -c .)"
check "image: Korean folder" "yes" "$(echo "$text" | grep -qF 'C:\Program Files (x86)\도구\' && echo yes)"

ntfs-3g -o ro "$img" "$mnt"
out=$("$cli" -C "$work/mounted" scan --group ACME --drive "C=$mnt" 2>"$work/err")
check "mounted volume: status" "0" "$?"
fusermount -u "$mnt"
check "mounted volume: the same file as the image" "$(body "$work/image/CheckOut/ACME_WINPC.ipt")" "$(body "$out")"

# A volume mounted inside a walked folder is another disk: left out.
outer=$work/outer
mkdir -p "$outer/disk" "$work/outerrun"
cp "$work/image/KEYLIST.DAT" "$work/outerrun/"
head -c 1000 /dev/zero > "$outer/WINWORD.EXE"
ntfs-3g -o ro "$img" "$outer/disk"
out=$("$cli" -C "$work/outerrun" scan --group ACME --name OUT --drive "C=$outer" 2>"$work/err")
status=$?
fusermount -u "$outer/disk"
check "a volume mounted inside the drive: status" "0" "$status"
check "a volume mounted inside the drive: left out" "1" \
    "$(iconv -f CP949 -t UTF-8 < "$out" | tr -d '\r' | sed -n '12,$p' | grep -c .)"

out=$("$cli" -C "$work/copy" scan --group ACME --name WINPC --user kim \
      --model "Intel Pentinum Pro or Pentium II Revision 806" --app-paths "$work/apps.txt" \
      --drive "C=$copy" 2>"$work/err")
check "copy: status" "0" "$?"
check "copy with facts by hand: the same file as the image" \
    "$(body "$work/image/CheckOut/ACME_WINPC.ipt")" "$(body "$out")"

# Disks that cannot be read: a message in Korean, status 2, nothing written.
head -c 1048576 "$img" > "$work/cut.img"
head -c 1048576 /dev/zero > "$work/zero.img"
mkdir -p "$work/bad"
for disk in cut zero; do
    "$cli" -C "$work/bad" scan --group ACME --name X --drive "C=$work/$disk.img" >/dev/null 2>"$work/err"
    check "$disk image: status 2" "2" "$?"
    check "$disk image: says so" "yes" "$(grep -q '디스크 .*를 읽을 수 없습니다' "$work/err" && echo yes)"
done
check "bad images: nothing written" "" "$(ls "$work/bad/CheckOut" 2>/dev/null)"

exit $fail
