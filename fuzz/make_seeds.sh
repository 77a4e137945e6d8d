#!/bin/sh
# Writes a seed corpus: make_seeds.sh FOLDER SEED...; each seed is a file, or
# several files joined by "+" that become the parts of one input, with the
# separator line the multi-file targets split at ("\n#part#\n") between them.
set -eu
out=$1
shift
rm -rf "$out"
mkdir -p "$out"
for seed in "$@"; do
  name=
  target=$(mktemp)
  oldifs=$IFS
  IFS=+
  for f in $seed; do
    if [ -n "$name" ]; then
      printf '\n#part#\n' >>"$target"
      name="$name+$(basename "$f")"
    else
      name=$(basename "$f")
    fi
    cat "$f" >>"$target"
  done
  IFS=$oldifs
  mv "$target" "$out/$name"
done
