#!/bin/sh
# Writes the seeds of disk_image_fuzz into FOLDER: a small NTFS volume in
# an MBR and a GPT partition table, and that MBR disk in the containers the
# audit reads (VHD, VMDK, qcow2, EWF; a VHDX is never smaller than several
# MiB, too large a seed). A tool that is missing leaves its seeds out.
set -u
out=$1
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
truncate -s 2M vol.img
mkntfs -F -Q -q vol.img >/dev/null 2>&1 || exit 0
truncate -s 4M mbr.img
printf 'label: dos\nstart=2048, size=4096, type=7\n' | sfdisk -q mbr.img 2>/dev/null &&
    dd if=vol.img of=mbr.img bs=512 seek=2048 conv=notrunc status=none && cp mbr.img "$out/"
truncate -s 4M gpt.img
printf 'label: gpt\nstart=2048, size=4096\n' | sfdisk -q gpt.img 2>/dev/null &&
    dd if=vol.img of=gpt.img bs=512 seek=2048 conv=notrunc status=none && cp gpt.img "$out/"
for format in vpc vmdk; do
    qemu-img convert -f raw -O $format mbr.img "$out/mbr.$format" 2>/dev/null
done
qemu-img convert -c -f raw -O qcow2 mbr.img "$out/mbr.qcow2" 2>/dev/null
ewfacquire -u -q -c best -t "$work/mbr" mbr.img >/dev/null 2>&1 && cp mbr.E01 "$out/"
exit 0
