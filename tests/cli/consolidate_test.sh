#!/usr/bin/env bash
# consolidate end to end: the golden total file, the default listing, the
# overwrite rule and the refusals.
set -u
cli=$1
fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
# Whole paths, with the system's separators. Windows names are blind to
# letter case: there the names of the total file are written in lower case;
# elsewhere they keep the case typed.
workFolder=$work/run/CheckOut/
totalName=Total.tls
if [ -n "${OSTRAVION_WINDOWS:-}" ]; then
    workFolder="Z:${work//\//\\}\\run\\checkout\\"; totalName=total.tls
fi
fresh() { rm -rf "$work/run"; mkdir -p "$work/run"; cp -r "$fixtures/CheckOut" "$work/run/"; }

# The given files in the given order, one of them missing: the exact bytes.
fresh
"$cli" -C "$work/run" consolidate --name Total a.ipt b.ipt c.ipt missing.ipt e.ipt \
    >"$work/out" 2>"$work/err"; rc=$?
check "golden exit: a PC not read" "3" "$rc"
check "golden total bytes" "$(od -An -tx1 "$fixtures/expected.tls")" "$(od -An -tx1 "$work/run/CheckOut/$totalName")"
check "golden total name" "$totalName" "$(ls "$work/run/CheckOut" | grep -i '^total\.tls$')"
check "golden messages" "$(printf 'file open error..!\n파일을 열 수 없습니다.\nmissing.ipt: 파일이 없습니다\nfile open error..!\n파일을 열 수 없습니다.\ne.ipt: [리스트] 줄이 없습니다 (PC별 결과 파일이 아니거나 CP949와 CR LF로 쓰이지 않았습니다)\n취합을 마쳤으나 읽지 못한 PC별 결과 파일이 있습니다.\nPC 5대 중 3대를 읽었습니다.')" "$(cat "$work/err")"
check "golden summary" "$(printf 'total file\t%s%s\nPCs\t5\nunreadable files\t2\ndistinct programs\t4\ninstallations\t6\nkey-list candidates\t0' "$workFolder" "$totalName")" "$(cat "$work/out")"
check "no scratch file left" "" "$(ls "$work/run/CheckOut" | grep _tm)"

# No file named: every .ipt of CheckOut in name order ("_" after the letters),
# and a warning for the two files of one computer.
"$cli" -C "$work/run" consolidate --name all >"$work/out" 2>"$work/err"; rc=$?
check "default exit without --overwrite of a new name (e.ipt has no list)" "3" "$rc"
check "default PC count" "PCs	5" "$(grep '^PCs' "$work/out")"
check "default order" "$(printf '총무-01\n총무-02\n총무-03\n총무-01')" \
    "$(sed -n '/PC_HISTORY/,$p' "$work/run/CheckOut/all.tls" | tail -n +2 | iconv -f CP949 -t UTF-8 | cut -f1 | uniq)"
check "same computer warned" "1" "$(grep -c 'a.ipt 와(과) _dup.ipt 이(가) 모두 컴퓨터 총무-01 의 것입니다' "$work/err")"

# An existing total is kept without --overwrite, replaced with it.
cp "$work/run/CheckOut/all.tls" "$work/before"
"$cli" -C "$work/run" consolidate --name all.tls a.ipt >"$work/out" 2>"$work/err"; rc=$?
check "existing total refused" "1" "$rc"
check "existing total kept" "" "$(cmp "$work/before" "$work/run/CheckOut/all.tls")"
check "refusal says what happened and the option, not the question" "1 1 0" \
    "$(grep -c '같은 이름의 총괄 파일이 있어 취합하지 않았습니다: .*all\.tls$' "$work/err") $(
       grep -c -- '--overwrite' "$work/err") $(grep -c '덮어쓰시겠습니까' "$work/err")"
"$cli" -C "$work/run" consolidate --name all --overwrite a.ipt >"$work/out" 2>"$work/err"; rc=$?
check "overwrite exit" "0" "$rc"
check "overwritten" "[PC수량]
1" "$(iconv -f CP949 -t UTF-8 "$work/run/CheckOut/all.tls" | tr -d '\r' | sed -n 9,10p)"

# A name with a folder separator: its message, nothing merged or written.
fresh
"$cli" -C "$work/run" consolidate --name ../out a.ipt >"$work/out" 2>"$work/err"; rc=$?
check "bad name exit" "1" "$rc"
check "bad name message" "$(printf 'File is Bad Path or Bad Function paramater...\n파일 이름으로 쓸 수 없는 이름입니다.')" "$(cat "$work/err")"
check "bad name writes nothing" "$(ls "$fixtures/CheckOut" | sort)" "$(ls "$work/run/CheckOut" | sort)"
check "bad name leaves no file outside" "" "$(ls "$work" | grep -v -e run -e out -e err -e before)"

# Nothing to merge.
mkdir -p "$work/empty/CheckOut"
"$cli" -C "$work/empty" consolidate --name x >"$work/out" 2>"$work/err"; rc=$?
check "no files exit" "1" "$rc"
check "no files message" "선택된 파일이 없습니다." "$(cat "$work/err")"
check "no files writes nothing" "" "$(ls "$work/empty/CheckOut")"

exit $fail
