#!/usr/bin/env bash
# The Windows packages: the programs' import tables and version resources, the
# USB-stick kit run from its own unpacked folder, and the installer's silent
# install and uninstall, each under Wine in a prefix of its own made from the
# test prefix (C: its only drive, so nothing reaches the host's files).
#   windows_test.sh DIST VERSION
# Runs in the Korean Wine environment of scripts/test-windows.sh (WINEPREFIX,
# LOCPATH, LC_ALL).
set -u
dist=$1
version=$2
prefix=${WINEPREFIX:?the Wine prefix of the test run}
export WINEDEBUG=-all
# No desktop menu entries from the installer's shortcuts, no Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
scratch=$(mktemp -d)
prefixes=()
cleanup() {
    for p in "${prefixes[@]}"; do WINEPREFIX=$p wineserver -k 2>/dev/null; done
    rm -rf "$scratch"
}
trap cleanup EXIT
. "$(dirname "$0")/../check.sh"
yes_() { # name, condition...
    local name=$1; shift
    if "$@"; then echo "ok $name"; else echo "FAIL $name"; fail=1; fi
}
# A prefix of its own: the test prefix's registry and Windows folder, the
# user's profile with real folders where the test prefix links to the host.
new_prefix() {
    local p=$scratch/$1
    mkdir -p "$p/dosdevices" "$p/drive_c"
    cp "$prefix"/*.reg "$prefix/.update-timestamp" "$p/"
    ln -s ../drive_c "$p/dosdevices/c:"
    cp -al "$prefix/drive_c/windows" "$p/drive_c/" 2>/dev/null ||
        cp -a "$prefix/drive_c/windows" "$p/drive_c/"
    cp -a "$prefix/drive_c/users" "$p/drive_c/"
    find "$p/drive_c/users" -mindepth 2 -maxdepth 2 -type l | while read -r link; do
        rm "$link" && mkdir "$link"
    done
    prefixes+=("$p")
    echo "$p"
}
# The start of a file, printable, for a message.
head_of() { head -c 40 "$1" | tr -c '[:print:]' '?'; }

zip=$dist/Ostravion-$version-win64.zip
setup=$dist/Ostravion-$version-setup.exe
yes_ "the kit is there: $(basename "$zip")" test -s "$zip"
yes_ "the installer is there: $(basename "$setup")" test -s "$setup"
[ $fail -eq 0 ] || exit 1

# --- the kit: one folder with the programs and their files, nothing else
kitp=$(new_prefix kit)
mkdir -p "$kitp/drive_c/stick"
(cd "$kitp/drive_c/stick" && unzip -q "$zip")
kit=$kitp/drive_c/stick/Ostravion-$version-win64
expected="KEYLIST.DAT LICENSE.TXT README.TXT guide-pictures ostravion-cli.exe vxa.spl 사용설명서.html"
[ -e "$kit/ostravion.exe" ] &&
    expected="KEYLIST.DAT LICENSE.TXT README.TXT guide-pictures ostravion-cli.exe ostravion.exe vxa.spl 사용설명서.html"
check "kit: its files" "$expected" "$(cd "$kit" && ls | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
check "kit: the user guide with every picture it shows" "" "$(guide_gaps "$kit")"
check "kit: the key list is the sample" "$(cat "$(dirname "$0")/../../samples/KEYLIST.DAT" | md5sum)" \
    "$(md5sum <"$kit/KEYLIST.DAT")"
check "kit: the read-me is CP949 with CR LF and names the work folder" "1 1" \
    "$(iconv -f CP949 -t UTF-8 "$kit/README.TXT" >/dev/null 2>&1 && echo 1) $(
       [ "$(grep -c $'\r$' "$kit/README.TXT")" = "$(wc -l <"$kit/README.TXT")" ] &&
       iconv -f CP949 -t UTF-8 "$kit/README.TXT" | grep -q CheckOut && echo 1)"

check "kit: the licence is the Apache License 2.0 with the linked parts, CR LF" "1 1 1" \
    "$(grep -q 'Version 2.0, January 2004' "$kit/LICENSE.TXT" && echo 1) $(grep -c '^Files: third-party/winpthreads/\*'$'\r''$' "$kit/LICENSE.TXT") $(
       [ "$(grep -c $'\r$' "$kit/LICENSE.TXT")" = "$(wc -l <"$kit/LICENSE.TXT")" ] && echo 1)"

# Only DLLs every Windows has: the compiler's and the C++ library's are inside.
for exe in "$kit"/*.exe "$setup"; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
           tr '[:upper:]' '[:lower:]' | sort -u)
    odd=$(printf '%s\n' "$dlls" | grep -vxE 'kernel32\.dll|user32\.dll|gdi32\.dll|advapi32\.dll|version\.dll|msvcrt\.dll|shell32\.dll|ole32\.dll|oleaut32\.dll|comctl32\.dll|comdlg32\.dll|winspool\.drv|shlwapi\.dll|uxtheme\.dll|imm32\.dll|winmm\.dll|ws2_32\.dll|msimg32\.dll|olepro32\.dll|' || true)
    check "imports of $(basename "$exe") are system DLLs only ($(echo $dlls))" "" "$odd"
    yes_ "$(basename "$exe") carries an icon" \
        sh -c "x86_64-w64-mingw32-windres -i '$exe' -O rc 2>/dev/null | grep -q 'Type: group icon'"
done

cd "$kit" || exit 1
run() { WINEPREFIX=$kitp wine "$@"; }
# The programs' output, redirected, is in the Korean code page.
cp949() { iconv -f CP949 -t UTF-8; }
check "kit: ostravion-cli --version" "ostravion-cli $version" "$(run ostravion-cli.exe --version | tr -d '\r')"
check "kit: version-info of ostravion-cli.exe" "C:\\stick\\Ostravion-$version-win64\\ostravion-cli.exe
  CompanyName: Velmora
  FileDescription: Ostravion 소프트웨어 점검 (명령줄)
  ProductName: Ostravion
  ProductVersion: $version" "$(run ostravion-cli.exe version-info ostravion-cli.exe | tr -d '\r' | cp949)"
if [ -e ostravion.exe ]; then
    info=$(run ostravion-cli.exe version-info ostravion.exe | tr -d '\r' | cp949)
    check "kit: version-info of ostravion.exe" "CompanyName: Velmora|ProductName: Ostravion|ProductVersion: $version" \
        "$(printf '%s\n' "$info" | grep -E 'CompanyName|ProductName|ProductVersion' | sed 's/^ *//' | paste -sd'|')"
fi
check "installer: its version" "ProductVersion: $version" \
    "$(cp "$setup" setup-copy.exe && run ostravion-cli.exe version-info setup-copy.exe | tr -d '\r' |
       grep ProductVersion | sed 's/^ *//'; rm -f setup-copy.exe)"

# An inspection started in the kit's folder, of a test tree given as drive
# D:, reads the sample key list there and writes its per-PC file to the
# kit's CheckOut.
mkdir -p "$kitp/drive_c/tree/Office"
truncate -s 12345678 "$kitp/drive_c/tree/Office/WINWORD.EXE"
out=$(run ostravion-cli.exe scan --group KIT --name PC01 --drive 'D=C:\tree' 2>"$scratch/scan.err" |
      tr -d '\r')
check "kit: scan status" "0" "$?"
check "kit: the per-PC file goes to the kit's CheckOut" \
    "C:\\stick\\Ostravion-$version-win64\\CheckOut\\KIT_PC01.ipt" "$out"
check "kit: the file holds its group" "[그룹]
KIT" "$(iconv -f CP949 -t UTF-8 CheckOut/KIT_PC01.ipt 2>/dev/null | tr -d '\r' | sed -n 9,10p)"
check "kit: the tree's program is listed from drive D:" "1" \
    "$(grep -c -F 'D:\Office\' CheckOut/KIT_PC01.ipt 2>/dev/null)"

# Every command of the read-me, typed as it stands in the kit's folder; the
# PDF report says that the system has no PDF printer, and the print finds no
# printer (a new prefix has none).
commands=$(cp949 <README.TXT | tr -d '\r' | sed -n 's/^ *\(ostravion-cli .*\)$/\1/p')
check "kit read-me: its commands" "9" "$(printf '%s\n' "$commands" | grep -c .)"
while IFS= read -r line; do
    eval "set -- $line"
    shift
    run ostravion-cli.exe "$@" >"$scratch/readme.out" 2>"$scratch/readme.err" </dev/null
    rc=$?
    case $line in
    *--pdf*) check "kit read-me: $line: no PDF printer, said so" "1 1" \
                 "$rc $(cp949 <"$scratch/readme.err" | grep -c 'Microsoft Print to PDF')" ;;
    *--printer*) check "kit read-me: $line: no printer" "1" "$rc" ;;
    *) check "kit read-me: $line" "0" "$rc" ;;
    esac
done <<<"$commands"
cd "$scratch" || exit 1

# --- the installer
instp=$(new_prefix setup)
user=$(cd "$instp/drive_c/users" && ls | grep -vx Public | head -n1)
docs=$instp/drive_c/users/$user/Documents
programs="$instp/drive_c/Program Files/Ostravion"
menu="$instp/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ostravion"
# A key list the user already has in the work folder.
mkdir -p "$docs/Ostravion"
printf 'the user'\''s own key list' >"$docs/Ostravion/KEYLIST.DAT"
cp "$setup" "$instp/drive_c/setup.exe"
WINEPREFIX=$instp wine 'C:\setup.exe' /S
check "setup /S: status" "0" "$?"
WINEPREFIX=$instp wineserver -w
yes_ "setup: the programs are in Program Files" test -f "$programs/ostravion-cli.exe"
yes_ "setup: the licence beside them" cmp -s "$kit/LICENSE.TXT" "$programs/LICENSE.TXT"
check "setup: the user guide beside them" "" "$(guide_gaps "$programs")"
guide_lnk="$menu/Ostravion 사용 설명서.lnk"
# The shortcut's target path, as its link information holds it (the ANSI code page).
yes_ "setup: a Start-menu shortcut to the user guide" \
    env LC_ALL=C grep -aqF "$(printf 'C:\\Program Files\\Ostravion\\사용설명서.html' | iconv -f UTF-8 -t CP949)" "$guide_lnk"
check "setup: an uninstall entry" "1" "$(grep -cF 'Uninstall\\Ostravion]' "$instp/system.reg")"
check "setup: the installed command line runs" "0" \
    "$(WINEPREFIX=$instp wine 'C:\Program Files\Ostravion\ostravion-cli.exe' facts >/dev/null 2>&1; echo $?)"
check "setup: the user's key list is kept" "the user's own key list" "$(head_of "$docs/Ostravion/KEYLIST.DAT")"
yes_ "setup: the work folder has the splash picture" cmp -s "$kit/vxa.spl" "$docs/Ostravion/vxa.spl"
lnk="$menu/Ostravion 명령줄.lnk"
yes_ "setup: a Start-menu shortcut" test -f "$lnk"
yes_ "setup: the shortcut starts in the work folder" \
    grep -qF "C:\\users\\$user\\Documents\\Ostravion" <(strings -a -el "$lnk")
# The console the shortcut opens runs the command line by its name: the
# arguments it holds set the program folder first on the console's PATH.
args=$(strings -a -el "$lnk" | grep -o '/k set .*ostravion-cli --help')
check "setup: the console shortcut puts the programs on its PATH" \
    '/k set PATH=C:\Program Files\Ostravion;%PATH%& ostravion-cli --help' "$args"
# The same line asking for the version in place of the usage.
line=${args#/k }
check "setup: ostravion-cli by its name in that console" "ostravion-cli $version" \
    "$(cd "$docs/Ostravion" && WINEPREFIX=$instp wine cmd /c "${line%--help}--version & exit" \
       2>/dev/null | tr -d '\r' | head -n1)"
# The installed read-me tells of the installed layout, not the kit's folder.
check "setup: the installed read-me names the work folder and the console" "1 1 0" \
    "$(cp949 <"$programs/README.TXT" | grep -c '작업 폴더: 문서\\Ostravion') $(
       cp949 <"$programs/README.TXT" | grep -c '이름만으로') $(
       cp949 <"$programs/README.TXT" | grep -c '이 폴더에서')"
# A result of the user's, then the uninstaller.
mkdir -p "$docs/Ostravion/CheckOut"
printf 'result' >"$docs/Ostravion/CheckOut/A_PC01.ipt"
WINEPREFIX=$instp wine 'C:\Program Files\Ostravion\uninstall.exe' /S
check "uninstall /S: status" "0" "$?"
WINEPREFIX=$instp wineserver -w
yes_ "uninstall: no program files are left" test ! -e "$programs"
yes_ "uninstall: the Start-menu folder is gone" test ! -e "$menu"
check "uninstall: the uninstall entry is gone" "0" \
    "$(grep -cF 'Uninstall\\Ostravion]' "$instp/system.reg")"
check "uninstall: the work folder is kept" "the user's own key list|result" \
    "$(head_of "$docs/Ostravion/KEYLIST.DAT")|$(head_of "$docs/Ostravion/CheckOut/A_PC01.ipt")"
exit $fail
