#!/usr/bin/env bash
# The Linux launcher ostravion-start beside a stand-in program that prints
# its arguments and folder: relative paths given to it name the same files
# once the program runs in the work folder.
#   start_test.sh LAUNCHER
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
. "$(dirname "$0")/../check.sh"
mkdir -p "$scratch/bin" "$scratch/share/ostravion" "$scratch/home" "$scratch/here"
cp "$1" "$scratch/bin/ostravion-start"
printf '#!/bin/sh\nfor a in "$@"; do printf "%%s|" "$a"; done\npwd\n' >"$scratch/bin/ostravion"
chmod +x "$scratch/bin/ostravion" "$scratch/bin/ostravion-start"
: >"$scratch/share/ostravion/KEYLIST.DAT"
: >"$scratch/share/ostravion/vxa.spl"
here=$scratch/here
run() { (cd "$here" && HOME=$scratch/home "$scratch/bin/ostravion-start" "$@"); }
check "relative total, drives and app paths become absolute; switches, absolute paths and the recovery password stay" \
    "$here/본사.tls|--drive|C=$here/../pc1|--drive=D=$here/d|--drive=E=/mnt/e|--app-paths|$here/apps.txt|--app-paths=/etc/a|--recovery-password|111111-222222|/Embedding|-x|$here/a b.tls|$scratch/home/Ostravion" \
    "$(run 본사.tls --drive C=../pc1 --drive=D=d --drive=E=/mnt/e --app-paths apps.txt \
           --app-paths=/etc/a --recovery-password 111111-222222 /Embedding -x 'a b.tls')"
check "no arguments: none made up" "$scratch/home/Ostravion" "$(run)"
exit $fail
