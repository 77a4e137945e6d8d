#!/usr/bin/env bash
# Times the offline audit of a Windows disk: `ostravion-cli scan` of an NTFS
# image of 200,000 files read directly (no mount), against `find` on the same
# volume mounted with ntfs-3g, The Sleuth Kit's `fls -r -p` on the image, and
# the same scan of the same tree copied to the local disk, interleaved, warm
# cache, as ratios of one run; then the peak memory of the two scans. Runs
# the programs of an already built build folder; builds nothing.
#   bench/disk_walk.sh         RUNS=5 IMAGE=/tmp/ostravion-disk.img BUILD=build
# Aim: image <= 1.5 x local folder, image <= 1/3 x find on the ntfs-3g mount,
# image's peak memory <= 2 x the local folder's.
# The image is made once (bench_walk's tree copied in through ntfs-3g, a
# few minutes) and kept for later runs. Needs root for the FUSE mount.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
runs=${RUNS:-5}
img=${IMAGE:-/tmp/ostravion-disk.img}

bin=$build/bench/bench_walk
cli=$build/src/ostravion-cli
for b in "$bin" "$cli"; do
  [ -x "$b" ] || { echo "$b is missing: cmake --build $build --target bench_walk ostravion-cli"; exit 1; }
done
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
sleuth() { fls -r -p "$img"; }

ntfs-3g -o ro "$img" "$mnt"
image >/dev/null 2>&1; folder >/dev/null 2>&1; mounted >/dev/null # warm the caches
names=(image folder mounted)
if command -v fls >/dev/null; then
  sleuth >/dev/null
  names+=(sleuth)
fi
files=$(find "$local_tree" -type f | wc -l)
declare -A real cpu
for _ in $(seq "$runs"); do
  for n in "${names[@]}"; do
    r=$(ms $n)
    real[$n]+="${r% *} "
    cpu[$n]+="${r#* } "
  done
done
declare -A label=([image]="scan, image read directly" [folder]="scan, local folder"
  [mounted]="find on ntfs-3g mount" [sleuth]="fls -r -p on the image")
echo "files: $files, runs: $runs, milliseconds (real: wall clock; cpu: user + system)"
for n in "${names[@]}"; do
  printf '%-28s real median %6d   cpu median %6d   [real %s]\n' "${label[$n]}" \
    "$(echo "${real[$n]}" | median)" "$(echo "${cpu[$n]}" | median)" "${real[$n]% }"
done
awk -v i="$(echo "${real[image]}" | median)" -v f="$(echo "${real[folder]}" | median)" \
    -v m="$(echo "${real[mounted]}" | median)" -v s="$(echo "${real[sleuth]:-0}" | median)" 'BEGIN {
  printf "real median: image/folder %.2f (aim <= 1.5)   image/find-on-mount %.2f (aim <= 0.33)",
    i / f, i / m
  if (s > 0) printf "   image/fls %.2f", i / s
  printf "\n" }'
# Peak memory (maximum resident set) of one scan of each.
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
pi=$(peak "$cli" -C "$work/run" scan --group B --name image --drive "C=$img" --overwrite)
pf=$(peak "$cli" -C "$work/run" scan --group B --name folder --drive "C=$local_tree" --overwrite)
awk -v i="$pi" -v f="$pf" 'BEGIN {
  printf "peak memory: image %d KB, folder %d KB, image/folder %.2f (aim <= 2.0)\n", i, f, i / f }'
# The per-PC files of the two scans hold the same programs; their order, and
# so which repeat is marked 4, follows the listings (NTFS's sorted by name,
# the local disk's hashed). The PC facts differ by design: the image has no
# hives, so its user and processor are "-", never this machine's.
diff <(tr -d '\r' < "$work/run/CheckOut/B_image.ipt" | sed '2d;4d;6d;8d' | cut -f1,3- | sort) \
     <(tr -d '\r' < "$work/run/CheckOut/B_folder.ipt" | sed '2d;4d;6d;8d' | cut -f1,3- | sort) >/dev/null &&
  echo "per-PC files: the same programs" || echo "per-PC files: DIFFER"
