#!/usr/bin/env bash
# The scan subcommand end to end over a real folder tree mapped as drive C:,
# with the MinGW-built programs as version-resource carriers: the per-PC file
# it writes, and its refusals (no group, an existing file, a key list that
# cannot be read, a work folder that cannot be made).
set -u
cli=$1
pe=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
tab=$'\t'

# The tree: Word twice (the second a duplicate), a listed name whose size and
# version match nothing (class 2), a registered program (class 3), a program
# whose name is one byte long, an installer, and a file without a dot.
tree=$work/tree
mkdir -p "$tree/Office" "$tree/Backup" "$tree/Tools" "$tree/Apps" "$tree/One"
head -c 1000 /dev/zero > "$tree/Office/WINWORD.EXE"
head -c 1000 /dev/zero > "$tree/Backup/winword.exe"
cp "$pe/korean.exe" "$tree/Tools/KOREAN.EXE"
cp "$pe/english.dll" "$tree/Apps/Example.exe"
head -c 5 /dev/zero > "$tree/One/X.EXE"
head -c 10 /dev/zero > "$tree/Office/SETUP.EXE"
head -c 10 /dev/zero > "$tree/Office/README"
printf 'EXAMPLE.EXE\n' > "$work/apps.txt"

printf '%s\n' "caption${tab}x${tab}x${tab}x${tab}x" \
    "K0${tab}APP${tab}OFFICE${tab}Word${tab}9.0${tab}WINWORD.EXE${tab}1000${tab}K7${tab}Acme${tab}국외" \
    "K0${tab}APP${tab}TOOL${tab}Audit${tab}9.9${tab}KOREAN.EXE${tab}1${tab}K7${tab}Kor${tab}국내" \
    "K0${tab}APP${tab}TOOL${tab}X${tab}1.0${tab}X.EXE${tab}5${tab}K7${tab}Tiny${tab}국내" \
    "K0${tab}APP${tab}TOOL${tab}Setup${tab}1.0${tab}SETUP.EXE${tab}10${tab}K7${tab}Acme${tab}국외" \
    > "$work/keys.tsv"
mkdir -p "$work/run"
"$cli" keylist pack "$work/keys.tsv" -o "$work/run/KEYLIST.DAT" 2>/dev/null

# A whole scan; -C may follow the subcommand's options.
out=$("$cli" scan --group ACME --name PC01 --user kim --model "Test PC" --drive "C=$tree" \
      --app-paths "$work/apps.txt" -C "$work/run" 2>"$work/err")
status=$?
check "scan: status" "0" "$status"
check "scan: says where the file is" "$work/run/CheckOut/ACME_PC01.ipt" "$out"
check "scan: completion text" "yes" "$(grep -q '검색을 완료하였습니다.' "$work/err" && echo yes)"
ipt=$work/run/CheckOut/ACME_PC01.ipt
check "scan: no journal left" "no" "$([ -e "$work/run/CheckOut/ACME_PC01.tmp" ] && echo yes || echo no)"
check "scan: CR LF throughout" "0" "$(tr -d '\r' < "$ipt" | wc -l | xargs -I{} expr {} - "$(grep -c $'\r$' "$ipt")")"
text=$(iconv -f CP949 -t UTF-8 < "$ipt" | tr -d '\r')
check "scan: header" "[컴퓨터명]
PC01
[액티브사용자]
kim
[컴퓨터기종]
Test PC
[검사일시]" "$(echo "$text" | sed -n 1,7p)"
check "scan: time line" "yes" "$(echo "$text" | sed -n 8p | grep -qE '^[0-9]+-[0-9]+-[0-9]+, [0-9]+:[0-9]+ $' && echo yes)"
check "scan: group and list headers" "[그룹]
ACME
[리스트]" "$(echo "$text" | sed -n 9,11p)"
expected="2${tab}1${tab}K0${tab}APP${tab}OFFICE${tab}Word${tab}9.0${tab}K7${tab}Acme${tab}2${tab}C:\\Office\\${tab}
9${tab}2${tab}-${tab}-${tab}-${tab}감사 도구${tab}1, 2, 3, 4${tab}-${tab}국내 소프트웨어(주)${tab}-${tab}C:\\Tools\\${tab}
2${tab}4${tab}K0${tab}APP${tab}OFFICE${tab}Word${tab}9.0${tab}K7${tab}Acme${tab}2${tab}C:\\Backup\\${tab}
9${tab}3${tab}-${tab}-${tab}-${tab}Example Tool${tab}5.6.7${tab}-${tab}Example Software Inc.${tab}-${tab}C:\\Apps\\${tab}"
check "scan: programs, normal list then extended, each by rights holder" "$expected" "$(echo "$text" | sed -n '12,$p')"

# An existing file is kept unless --overwrite is given.
before=$(od -An -tx1 "$ipt" | md5sum)
err=$("$cli" -C "$work/run" scan --group ACME --name PC01 --drive "C=$tree" 2>&1 >/dev/null)
status=$?
check "existing file: status" "1" "$status"
check "existing file: what happened, where, and the option" \
    "ostravion-cli: 같은 이름의 결과 파일이 있어 점검하지 않았습니다: $work/run/CheckOut/ACME_PC01.ipt
ostravion-cli: 그 파일은 그대로 있습니다. 새 점검 결과로 바꾸려면 --overwrite 를 붙이십시오." "$err"
check "existing file: kept" "$before" "$(od -An -tx1 "$ipt" | md5sum)"

# A key list that cannot be opened: its message, no file written, none replaced.
err=$("$cli" -C "$work/run" scan --group ACME --name PC01 --overwrite --keylist missing.dat \
      --drive "C=$tree" 2>&1 >/dev/null)
status=$?
check "missing key list: message, where it was looked for, the option" "Key File Open Error...
키 리스트 파일을 열 수 없습니다.
ostravion-cli: 키 리스트를 찾아본 곳: $work/run/missing.dat
ostravion-cli: 다른 키 리스트를 쓰려면 --keylist FILE 로 지정하십시오." "$err"
check "missing key list: status" "1" "$status"
check "missing key list: file kept" "$before" "$(od -An -tx1 "$ipt" | md5sum)"
: > "$work/run/empty.dat"
err=$("$cli" -C "$work/run" scan --group ACME --name NEW --keylist empty.dat --drive "C=$tree" 2>&1 >/dev/null)
check "unreadable key list: message" "Key File Read Error..." "$(echo "$err" | head -n1)"
check "unreadable key list: nothing written" "ACME_PC01.cand ACME_PC01.ipt" "$(ls "$work/run/CheckOut" | xargs)"

# The group is required.
err=$("$cli" -C "$work/run" scan --name PC01 2>&1)
status=$?
check "no group: message" "회사(그룹)명은 필수항목 입니다." "$err"
check "no group: status" "2" "$status"

# Names Windows cannot hold are refused before any walk, on both systems,
# with the line that says why.
for bad in 'AC*ME' "$(printf 'A%.0s' $(seq 300))"; do
    err=$("$cli" -C "$work/run" scan --group "$bad" --name PC01 --drive "C=$tree" 2>&1)
    status=$?
    check "name ${bad:0:6}: status" "2" "$status"
    check "name ${bad:0:6}: the system's message first" "File is Bad Path or Bad Function paramater..." \
        "$(echo "$err" | head -n 1)"
    check "name ${bad:0:6}: nothing written" "" "$(ls "$work/run/CheckOut" | grep -F -- "${bad:0:6}")"
done

# A per-PC file that cannot be written at the end (a folder stands in its
# place): one message saying where the findings are, the journal kept.
mkdir -p "$work/run/CheckOut/ACME_PC09.ipt"
"$cli" -C "$work/run" scan --group ACME --name PC09 --overwrite --drive "C=$tree" \
    --app-paths "$work/apps.txt" >/dev/null 2>"$work/err"
status=$?
check "unwritable result: status" "1" "$status"
check "unwritable result: one message" "1" "$(grep -c '^Write File Open Error' "$work/err")"
journal=$(ls "$work/run/CheckOut" | grep '^ACME_PC09\.~.*\.tmp$')
check "unwritable result: says where the findings are" "1" "$(grep -c "$journal" "$work/err")"
check "unwritable result: journal kept" "yes" "$([ -s "$work/run/CheckOut/$journal" ] && echo yes)"
check "unwritable result: no lock left" "" "$(ls "$work/run/CheckOut" | grep '\.lock$')"
rm -rf "$work/run/CheckOut/ACME_PC09".*

# The work folder cannot be made where a file of its name stands.
mkdir -p "$work/blocked"
: > "$work/blocked/CheckOut"
cp "$work/run/KEYLIST.DAT" "$work/blocked/"
err=$("$cli" -C "$work/blocked" scan --group ACME --drive "C=$tree" 2>&1)
status=$?
check "work folder: message" "폴더 생성 에러" "$err"
check "work folder: status" "1" "$status"

# The name defaults to the computer name; an empty tree gives the header only.
mkdir -p "$work/empty"
: > "$work/empty/file.txt"
out=$("$cli" -C "$work/run" scan --group G --drive "C=$work/empty" 2>/dev/null)
check "default name: the computer name" "$work/run/CheckOut/G_$(hostname).ipt" "$out"
check "empty tree: eleven header lines" "11" "$(tr -d '\r' < "$work/run/CheckOut/G_$(hostname).ipt" | wc -l)"

# A tree a walk may trip over: a link back up, names that are not UTF-8 or
# have no Korean form, TAB and line breaks in names, 300 levels, a file past
# 4 GB whose low 32 bits are Word's size. Word is found in each folder, and
# every list line keeps its eleven fields.
hard=$work/hard
deep=$hard/deep
for _ in $(seq 300); do deep=$deep/d; done
folders=("$hard/up" "$hard/caf"$'\xe9' "$hard/a"$'\xf0\x9f\x98\x80' "$hard/tab"$'\t'"x"
         "$hard/lf"$'\n'"x" "$hard/cr"$'\r'"x" "$deep")
for d in "${folders[@]}"; do
    mkdir -p "$d"
    head -c 1000 /dev/zero > "$d/WINWORD.EXE"
done
ln -s .. "$hard/up/back"
mkdir -p "$hard/big"
expect=${#folders[@]}
truncate -s $((4294967296 + 1000)) "$hard/big/WINWORD.EXE" 2>/dev/null && expect=$((expect + 1))
"$cli" -C "$work/run" scan --group H --name HARD --drive "C=$hard" >/dev/null 2>&1
check "hard tree: status" "0" "$?"
list=$(tr -d '\r' < "$work/run/CheckOut/H_HARD.ipt" | sed -n '12,$p')
check "hard tree: one line per Word" "$expect" "$(echo "$list" | grep -c .)"
check "hard tree: eleven fields a line" "0" "$(echo "$list" | awk -F'\t' 'NF != 12' | wc -l)"
check "hard tree: no line break inside a line" "$((expect + 11))" "$(tr -cd '\n' < "$work/run/CheckOut/H_HARD.ipt" | wc -c)"

# Ctrl+C: the stop command. Whether it lands before the end or not, the file
# is whole and the journal gone.
big=/usr
"$cli" -C "$work/run" scan --group G --name STOP --drive "C=$big" >/dev/null 2>&1 &
pid=$!
sleep 0.3
kill -INT $pid 2>/dev/null
wait $pid
status=$?
check "interrupt: stopped (130) or done (0)" "yes" "$([ $status = 130 ] || [ $status = 0 ] && echo yes)"
check "interrupt: header written" "[리스트]" "$(iconv -f CP949 -t UTF-8 < "$work/run/CheckOut/G_STOP.ipt" | tr -d '\r' | sed -n 11p)"
check "interrupt: no journal left" "no" "$([ -e "$work/run/CheckOut/G_STOP.tmp" ] && echo yes || echo no)"

exit $fail
