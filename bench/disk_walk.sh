#!/usr/bin/env bash
# Times the offline audit of a Windows disk: `ostravion-cli scan` of an NTFS
# image of 200,000 files read directly (no mount), against `find` on the same
# volume mounted with ntfs-3g and against the same scan of the same tree
# copied to the local disk, interleaved, warm cache, as ratios of one run.
#   bench/disk_walk.sh         RUNS=5 IMAGE=/tmp/ostravion-disk.img BUILD=build
# Aim: image <= 1.5 x local folder, image <= 1/3 x find on the ntfs-3g mount.
# The image is made once (bench_walk's tree copied in through ntfs-3g, a
# few minutes) and kept for later runs. Needs root for the FUSE mount.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
runs=${RUNS:-5}
img=${IMAGE:-/tmp/ostravion-disk.img}

cmake --build "$build" --target bench_walk ostravion-cli -j2 >/dev/null
bin=$build/bench/bench_walk
cli=$build/src/ostravion-cli
work=$(mktemp -d /tmp/ostravion-disk-work-XXXXXX)
mnt=$work/mnt
mkdir -p "$mnt"
trap 'mountpoint -q "$mnt" && fusermount -u "$mnt"; rm -rf "$work"' EXIT

local_tree=$img.tree
if [ ! -f "$img.done" ]; then
  rm -rf "$img" "$local_tree" "$work/gen"
  "$bin" generate "$work/gen" >/dev/null
  truncate -s 2G "$img"
  mkntfs -F -Q -q "$img" >/dev/null 2>&1
  ntfs-3g "$img" "$mnt"
  # Names NTFS cannot hold are left behind; the local tree is what the disk holds.
  cp -r "$work/gen/." "$mnt/" 2>/dev/null || true
  cp -r "$mnt/." "$local_tree"
  fusermount -u "$mnt"
  rm -rf "$work/gen"
  touch "$img.done"
fi
"$bin" prepare "$work/run" 20 >/dev/null

ms() { # "real cpu" milliseconds of a command, its output thrown away
  local TIMEFORMAT='%3R %3U %3S' t
  t=$({ time "$@" >/dev/null 2>&1; } 2>&1)
  awk '{printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000}' <<<"$t"
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

image() { "$cli" -C "$work/run" scan --group B --name image --drive "C=$img" --overwrite; }
folder() { "$cli" -C "$work/run" scan --group B --name folder --drive "C=$local_tree" --overwrite; }
mounted() { find "$mnt" -printf '%s\n'; }

ntfs-3g -o ro "$img" "$mnt"
image >/dev/null 2>&1; folder >/dev/null 2>&1; mounted >/dev/null # warm the caches
files=$(find "$local_tree" -type f | wc -l)
declare -A real cpu
names=(image folder mounted)
for _ in $(seq "$runs"); do
  for n in "${names[@]}"; do
    r=$(ms $n)
    real[$n]+="${r% *} "
    cpu[$n]+="${r#* } "
  done
done
declare -A label=([image]="scan, image read directly" [folder]="scan, local folder"
  [mounted]="find on ntfs-3g mount")
echo "files: $files, runs: $runs, milliseconds (real: wall clock; cpu: user + system)"
for n in "${names[@]}"; do
  printf '%-28s real median %6d   cpu median %6d   [real %s]\n' "${label[$n]}" \
    "$(echo "${real[$n]}" | median)" "$(echo "${cpu[$n]}" | median)" "${real[$n]% }"
done
awk -v i="$(echo "${real[image]}" | median)" -v f="$(echo "${real[folder]}" | median)" \
    -v m="$(echo "${real[mounted]}" | median)" 'BEGIN {
  printf "real median: image/folder %.2f (aim <= 1.5)   image/find-on-mount %.2f (aim <= 0.33)\n",
    i / f, i / m }'
# The per-PC files of the two scans hold the same programs; their order, and
# so which repeat is marked 4, follows the listings (NTFS's sorted by name,
# the local disk's hashed). The PC facts differ by design: the image has no
# hives, so its user and processor are "-", never this machine's.
diff <(tr -d '\r' < "$work/run/CheckOut/B_image.ipt" | sed '2d;4d;6d;8d' | cut -f1,3- | sort) \
     <(tr -d '\r' < "$work/run/CheckOut/B_folder.ipt" | sed '2d;4d;6d;8d' | cut -f1,3- | sort) >/dev/null &&
  echo "per-PC files: the same programs" || echo "per-PC files: DIFFER"
