#!/usr/bin/env bash
# scan under Wine: a whole inspection of a prefix of its own, made from the
# test run's prefix with C: as its only drive (Z:, the host's root, would
# have the walk go through the whole host). The path it prints is written
# the way Windows writes paths.
set -u
wine=$1
exe=$2
samples=$3
scratch=$4
prefix=${WINEPREFIX:?the Wine prefix of the test run}
work=$(mktemp -d -p "$scratch" scan-prefix.XXXXXX)
trap 'WINEPREFIX=$work wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
fail=0
check() { # name, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL $1"; echo " expected: $(printf %q "$2")"; echo " actual:   $(printf %q "$3")"; fail=1
    else
        echo "ok $1"
    fi
}

mkdir -p "$work/dosdevices" "$work/drive_c/audit"
cp "$prefix"/*.reg "$prefix/.update-timestamp" "$work/"
ln -s ../drive_c "$work/dosdevices/c:"
# The system's own files, linked where the file system allows: nothing writes them.
cp -al "$prefix/drive_c/windows" "$work/drive_c/" 2>/dev/null ||
    cp -a "$prefix/drive_c/windows" "$work/drive_c/"
cp "$exe" "$work/drive_c/ostravion-cli.exe"
cp "$samples/KEYLIST.DAT" "$work/drive_c/audit/"

out=$(WINEPREFIX=$work "$wine" 'C:\ostravion-cli.exe' -C 'C:\audit' scan --group 한국상사 --name PC01 \
      2>"$work/err")
check "scan: status" "0" "$?"
check "scan: says where the file is, with backslashes" 'C:\audit\CheckOut\한국상사_PC01.ipt' \
    "$(printf %s "$out" | tr -d '\r')"
ipt=$work/drive_c/audit/CheckOut/한국상사_PC01.ipt
check "scan: the file is there with its group" "[그룹]
한국상사" "$(iconv -f CP949 -t UTF-8 "$ipt" 2>/dev/null | tr -d '\r' | sed -n 9,10p)"
exit $fail
