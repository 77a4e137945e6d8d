#!/usr/bin/env bash
# Every kind of disk an audit is given: three NTFS volumes (Windows on the
# second) scanned as drives C:, D:, E: is the reference; the same volumes in
# MBR and GPT partition tables, and that MBR disk in VHD, VHDX, VMDK and
# qcow2 snapshots (read through their parents) and EWF (whole and split)
# containers, give the same per-PC file but for the scan time. Then the
# disks that cannot be read.
#   scan_disk_kinds_test.sh CLI
set -u
cli=$(realpath "$1")
for tool in mkntfs ntfs-3g fusermount sfdisk sgdisk qemu-img ewfacquire; do
    command -v $tool >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
mnt=$work/mnt
cleanup() { mountpoint -q "$mnt" 2>/dev/null && fusermount -u "$mnt"; rm -rf "$work"; }
trap cleanup EXIT; [ -n "${KEEP:-}" ] && trap - EXIT
. "$(dirname "$0")/../check.sh"
tab=$'\t'
cd "$work"
mkdir -p "$mnt"

# A 16 MiB NTFS volume holding the folders given, a listed program in the last.
volume() { # image folder...
    local img=$1 dir
    shift
    truncate -s 16M "$img"
    mkntfs -F -Q -q "$img" >/dev/null 2>&1
    ntfs-3g "$img" "$mnt" 2>mount.err || {
        echo "skipped: ntfs-3g cannot mount here ($(cat mount.err))"; exit 77; }
    for dir in "$@"; do mkdir -p "$mnt/$dir"; done
    head -c 1000 /dev/zero > "$mnt/$dir/WINWORD.EXE"
    fusermount -u "$mnt"
}
volume data1.img "Data One"
volume win.img windows/System32/Config "Program Files/Office"
volume data2.img "Data Two"
volume hidden.img Recovery

printf '%s\n' "caption${tab}x${tab}x${tab}x${tab}x" \
    "K0${tab}APP${tab}OFFICE${tab}Word${tab}9.0${tab}WINWORD.EXE${tab}1000${tab}K7${tab}Acme${tab}국외" \
    > keys.tsv
"$cli" keylist pack keys.tsv -o KEYLIST.DAT 2>/dev/null
scan() { # run drive-or-option...
    local run=$1 d args=()
    shift
    for d in "$@"; do
        case $d in [C-Z]=*) args+=(--drive "$d") ;; *) args+=("$d") ;; esac
    done
    mkdir -p "$run" && cp KEYLIST.DAT "$run/"
    "$cli" -C "$run" scan --group A --name PC --user kim --model M "${args[@]}" >/dev/null 2>"$run.err"
}
# The scan time is the one line that may differ.
body() { tr -d '\r' < "$1/CheckOut/A_PC.ipt" | sed 8d; }

scan bare "C=$work/win.img" "D=$work/data1.img" "E=$work/data2.img"
check "bare volumes: status" "0" "$?"
check "bare volumes: a program on each drive" "C:\\Program Files\\Office\\ D:\\Data One\\ E:\\Data Two\\" \
    "$(body bare | sed -n '11,$p' | cut -f11 | tr '\n' ' ' | sed 's/ $//')"

# MBR: data1 primary, then Windows and data2 as logical partitions 5 and 6.
put() { dd if="$1" of="$2" bs=512 seek="$3" conv=notrunc status=none; }
truncate -s 60M mbr.img
printf 'label: dos\nstart=2048, size=32768, type=7\nstart=36864, type=5\nstart=38912, size=32768, type=7\nstart=73728, size=32768, type=7\n' |
    sfdisk -q mbr.img
put data1.img mbr.img 2048
put win.img mbr.img 38912
put data2.img mbr.img 73728
# GPT: a recovery partition, which Windows gives no letter, among them.
truncate -s 80M gpt.img
sgdisk -o -n 1:2048:+16M -t 1:0700 -n 2:0:+16M -t 2:2700 -n 3:0:+16M -t 3:0700 \
    -n 4:0:+16M -t 4:0700 gpt.img >/dev/null
for n in 1 2 3 4; do start[$n]=$(sgdisk -i $n gpt.img | awk '/First sector/{print $3}'); done
put data1.img gpt.img "${start[1]}"
put hidden.img gpt.img "${start[2]}"
put win.img gpt.img "${start[3]}"
put data2.img gpt.img "${start[4]}"

for format in vpc vhdx; do qemu-img convert -f raw -O $format mbr.img mbr.$format; done
# Snapshots that read the disk through their parents beside them.
for format in vmdk qcow2; do
    qemu-img convert -f raw -O $format mbr.img base.$format
    qemu-img create -q -f $format -b base.$format -F $format child.$format
done
ewfacquire -u -q -c fast -t "$work/whole" mbr.img >/dev/null 2>&1
ewfacquire -u -q -c none -S 16MiB -t "$work/split" mbr.img >/dev/null 2>&1
check "split EWF: several segments" "yes" "$([ -f split.E02 ] && echo yes)"
# Recognised by content, not by name.
mv mbr.vpc mbr-vhd.bin

for disk in mbr.img gpt.img mbr-vhd.bin mbr.vhdx child.vmdk child.qcow2 whole.E01 split.E01; do
    scan "run-$disk" "C=$work/$disk"
    check "$disk: status" "0" "$?"
    check "$disk: the same file as the bare volumes" "$(body bare)" "$(body "run-$disk")"
done
scan one "C=$work/mbr.vhdx@6"
check "one partition: status" "0" "$?"
check "one partition: as drive C:" "C:\\Data Two\\" "$(body one | sed -n '11,$p' | cut -f11)"

# Disks that cannot be read: a message in Korean, status 2, nothing written.
cp mbr.img locked.img
printf -- '-FVE-FS-' | dd of=locked.img bs=1 seek=$((38912 * 512 + 3)) conv=notrunc status=none
truncate -s 60M table-only.img
printf 'label: gpt\nstart=2048, size=32768\n' | sfdisk -q table-only.img
mv base.qcow2 elsewhere.qcow2
head -c 20000000 mbr.img > cut.img
bad() { # name expected-message drive...
    local name=$1 message=$2
    shift 2
    scan "bad-$name" "$@"
    check "$name: status 2" "2" "$?"
    check "$name: says so" "yes" "$(grep -qF -- "$message" "bad-$name.err" && echo yes)"
    check "$name: nothing written" "" "$(ls "bad-$name/CheckOut" 2>/dev/null)"
}
bad bitlocker "파티션 5: BitLocker로 암호화된 볼륨입니다" "C=$work/locked.img"
bad bitlocker-password "복구 암호가 맞지 않습니다" --recovery-password \
    111111-111111-111111-111111-111111-111111-111111-111111 "C=$work/locked.img@5"
bad no-ntfs "NTFS 파티션이 없습니다" "C=$work/table-only.img"
bad no-partition "파티션 9이(가) 없습니다" "C=$work/mbr.img@9"
bad backing-missing "기반 이미지 \"base.qcow2\"가 그 옆에 없습니다" "C=$work/child.qcow2"
bad cut "잘린 볼륨입니다" "C=$work/cut.img"

exit $fail
