#!/usr/bin/env bash
# scan under Wine: a whole inspection of a prefix of its own, made from the
# test run's prefix with C: as its only drive (Z:, the host's root, would
# have the walk go through the whole host). The path it prints is written
# the way Windows writes paths. Then a folder given as drive D: gives the
# very file the Linux program writes for the same folder (tests/cli/scan_windows
# holds that file for when no Linux build is at hand).
set -u
wine=$1
exe=$2
samples=$3
scratch=$4
pe=${5:-}
source=${6:-}
prefix=${WINEPREFIX:?the Wine prefix of the test run}
work=$(mktemp -d -p "$scratch" scan-prefix.XXXXXX)
trap 'WINEPREFIX=$work wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"

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
check "scan: says where the file is, with backslashes, in the Korean code page" \
    'C:\audit\CheckOut\한국상사_PC01.ipt' "$(printf %s "$out" | tr -d '\r' | iconv -f CP949 -t UTF-8)"
ipt=$work/drive_c/audit/CheckOut/한국상사_PC01.ipt
check "scan: the file is there with its group" "[그룹]
한국상사" "$(iconv -f CP949 -t UTF-8 "$ipt" 2>/dev/null | tr -d '\r' | sed -n 9,10p)"

# A folder as drive D:, with programs the sample key list knows by size, one
# listed by name whose size and version match nothing (its version resource
# names it), and one registered by the list of applications; names in Korean,
# a hidden folder, an installer and a file without a dot. The walk takes
# folders in the order the file system lists them (by name under Wine, not so
# on Linux), and the file orders programs of one rights holder by the walk:
# here each has a rights holder of its own.
if [ ! -e "$pe/korean.exe" ]; then
    echo "skip drive map: no test programs with version resources"
    exit $fail
fi
tree=$work/drive_c/tree
mkdir -p "$tree/Office" "$tree/한글" "$tree/Tools" "$tree/.cache" "$tree/Web/Old" "$tree/Apps"
truncate -s 12345678 "$tree/Office/WINWORD.EXE"
truncate -s 2345678 "$tree/한글/HWP.EXE"
truncate -s 477696 "$tree/Tools/7ZFM.EXE"
truncate -s 10 "$tree/Tools/SETUP.EXE" "$tree/Tools/README"
truncate -s 1500000 "$tree/.cache/ALZIP.EXE"
truncate -s 93184 "$tree/Web/IEXPLORE.EXE"
truncate -s 1200000 "$tree/Web/Old/gcc.exe"
cp "$pe/english.dll" "$tree/Tools/PHOTOSHP.EXE"
cp "$pe/korean.exe" "$tree/Apps/감사도구.exe"
printf '감사도구.EXE\r\nother.exe\r\n' > "$work/drive_c/apps.txt"
args=(--group 한국상사 --name PC02 --user kim --model "Test PC")

# The folder relative to the work folder, with a lower-case letter.
WINEPREFIX=$work "$wine" 'C:\ostravion-cli.exe' -C 'C:\audit' scan "${args[@]}" \
    --drive 'd=..\tree' --app-paths 'C:\apps.txt' >/dev/null 2>"$work/err"
check "drive: status" "0" "$?"
ipt=$work/drive_c/audit/CheckOut/한국상사_PC02.ipt

linux=
for candidate in "$source/build/src/ostravion-cli" "$source/../build/src/ostravion-cli"; do
    [ -x "$candidate" ] && linux=$candidate && break
done
if [ -n "$linux" ]; then
    mkdir -p "$work/linux"
    cp "$samples/KEYLIST.DAT" "$work/linux/"
    "$linux" -C "$work/linux" scan "${args[@]}" --drive "D=$tree" \
        --app-paths "$work/drive_c/apps.txt" >/dev/null 2>&1
    expected=$work/linux/CheckOut/한국상사_PC02.ipt
    echo "drive: compared with $linux"
else
    expected=$(dirname "$0")/scan_windows/expected.ipt
    echo "drive: no Linux build; compared with $expected"
fi
# Byte for byte but for the scan time (line 8).
check "drive: the Linux program's file" "$(LC_ALL=C sed 8d "$expected" | od -An -c)" \
    "$(LC_ALL=C sed 8d "$ipt" | od -An -c)"
check "drive: programs found" "8" "$(tr -d '\r' < "$ipt" | sed -n '12,$p' | wc -l)"

# Folders whose names have no CP949 form are walked as every other, and
# their names written as the Linux program writes them.
names=$work/drive_c/names
for folder in ok 软件/App Ünïcode emo😀x; do
    mkdir -p "$names/$folder"
    cp "$pe/english.dll" "$names/$folder/PHOTOSHP.EXE"
done
WINEPREFIX=$work "$wine" 'C:\ostravion-cli.exe' -C 'C:\audit' scan --group N --name W --user u \
    --model m --drive 'D=C:\names' >/dev/null 2>"$work/err"
check "names outside CP949: status" "0" "$?"
check "names outside CP949: every folder walked" "4" \
    "$(tr -d '\r' < "$work/drive_c/audit/CheckOut/N_W.ipt" | sed -n '12,$p' | wc -l)"
if [ -n "$linux" ]; then
    "$linux" -C "$work/linux" scan --group N --name W --user u --model m --drive "D=$names" \
        >/dev/null 2>&1
    # The walks list folders in different orders, which decides the repeats
    # marked 4: the folders written are compared.
    folders() { LC_ALL=C sed -n '12,$p' "$1" | cut -f11 | LC_ALL=C sort | od -An -c; }
    check "names outside CP949: the folders the Linux program writes" \
        "$(folders "$work/linux/CheckOut/N_W.ipt")" "$(folders "$work/drive_c/audit/CheckOut/N_W.ipt")"
fi

err=$(WINEPREFIX=$work "$wine" 'C:\ostravion-cli.exe' -C 'C:\audit' scan "${args[@]}" \
      --overwrite --drive 'D=C:\missing' 2>&1 >/dev/null)
check "missing folder: status" "2" "$?"
check "missing folder: message" 'ostravion-cli: 드라이브 D: 폴더 "C:\missing": 찾을 수 없습니다' \
    "$(printf %s "$err" | tr -d '\r' | iconv -f CP949 -t UTF-8)"
err=$(WINEPREFIX=$work "$wine" 'C:\ostravion-cli.exe' -C 'C:\audit' scan "${args[@]}" \
      --overwrite --drive 'D=C:\tree' --app-paths 'C:\none.txt' 2>&1 >/dev/null)
check "missing application list: status" "2" "$?"
exit $fail
