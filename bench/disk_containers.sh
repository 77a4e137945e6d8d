#!/usr/bin/env bash
# Times the offline audit of one NTFS volume of 20,000 files read bare, as a
# partition of an MBR disk, and inside VHDX, VMDK, qcow2 and EWF containers,
# interleaved, warm cache, as ratios to the bare volume of the same run.
#   bench/disk_containers.sh     RUNS=5 BUILD=build
# Aim: every kind <= 1.5 x the bare volume. Needs FUSE (ntfs-3g) once, to
# fill the volume; the disks are made in a temporary folder and removed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
runs=${RUNS:-5}
cmake --build "$build" --target ostravion-cli -j2 >/dev/null
cli=$(realpath "$build/src/ostravion-cli")
work=$(mktemp -d /tmp/ostravion-containers-XXXXXX)
mnt=$work/mnt
mkdir -p "$mnt"
trap 'mountpoint -q "$mnt" && fusermount -u "$mnt"; rm -rf "$work"' EXIT
cd "$work"

truncate -s 256M vol.img
mkntfs -F -Q -q vol.img >/dev/null 2>&1
ntfs-3g vol.img "$mnt"
for d in $(seq 200); do
    mkdir -p "$mnt/Program Files/App$d"
    for f in $(seq 100); do head -c 64 /dev/zero > "$mnt/Program Files/App$d/file$f.dll"; done
done
fusermount -u "$mnt"
truncate -s 260M disk.img
printf 'label: dos\nstart=2048, size=524288, type=7\n' | sfdisk -q disk.img
dd if=vol.img of=disk.img bs=1M seek=1 conv=notrunc status=none
for format in vhdx vmdk qcow2; do qemu-img convert -f raw -O $format disk.img disk.$format; done
ewfacquire -u -q -c fast -t "$work/disk" disk.img >/dev/null 2>&1
printf 'caption\tx\tx\tx\tx\nK0\tAPP\tX\tLib\t1.0\tFILE1.DLL\t64\tK7\tAcme\t국외\n' > keys.tsv
mkdir run && "$cli" keylist pack keys.tsv -o run/KEYLIST.DAT 2>/dev/null

ms() { # wall-clock milliseconds of a scan of one disk
    local TIMEFORMAT='%3R' t
    t=$({ time "$cli" -C run scan --group B --name X --overwrite --drive "C=$work/$1" \
          >/dev/null 2>&1 || echo "scan of $1 failed" >&2; } 2>&1)
    awk '{printf "%d\n", $1 * 1000}' <<<"$t"
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
names=(vol.img disk.img disk.vhdx disk.vmdk disk.qcow2 disk.E01)
declare -A real
for n in "${names[@]}"; do ms "$n" >/dev/null; done # warm the cache
for _ in $(seq "$runs"); do
    for n in "${names[@]}"; do real[$n]+="$(ms "$n") "; done
done
bare=$(echo "${real[vol.img]}" | median)
echo "files: 20000, runs: $runs, wall-clock milliseconds"
for n in "${names[@]}"; do
    m=$(echo "${real[$n]}" | median)
    awk -v n="$n" -v m="$m" -v b="$bare" -v all="${real[$n]% }" \
        'BEGIN {printf "%-12s median %6d   ratio to bare %.2f   [%s]\n", n, m, m / b, all}'
done
