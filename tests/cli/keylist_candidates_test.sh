#!/usr/bin/env bash
# Keeping the key list current end to end: two PCs scanned, their candidates
# gathered by the consolidation, exported for review, merged into a new key
# list, and a second scan with it identifies every former candidate.
set -u
cli=$1
pe=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
tab=$'\t'

# PC1: a listed name whose size and version match nothing (class 2), a
# registered program (class 3) in two folders, a listed program (class 1).
# PC2: the same class 2 program only.
mkdir -p "$work/pc1/Tools" "$work/pc1/Apps" "$work/pc1/Apps2" "$work/pc1/Office" "$work/pc2/Tools"
cp "$pe/korean.exe" "$work/pc1/Tools/KOREAN.EXE"
cp "$pe/korean.exe" "$work/pc2/Tools/KOREAN.EXE"
cp "$pe/english.dll" "$work/pc1/Apps/Example.exe"
cp "$pe/english.dll" "$work/pc1/Apps2/Example.exe"
head -c 1000 /dev/zero > "$work/pc1/Office/WINWORD.EXE"
printf 'EXAMPLE.EXE\n' > "$work/apps.txt"
printf '%s\n' "caption${tab}x${tab}x${tab}x${tab}x" \
    "K0${tab}APP${tab}OFFICE${tab}Word${tab}9.0${tab}WINWORD.EXE${tab}1000${tab}K7${tab}Acme${tab}국외" \
    "K0${tab}APP${tab}TOOL${tab}Audit${tab}9.9${tab}KOREAN.EXE${tab}1${tab}K7${tab}Kor${tab}국내" \
    > "$work/keys.tsv"
run=$work/run
mkdir -p "$run"
"$cli" keylist pack "$work/keys.tsv" -o "$run/KEYLIST.DAT" 2>/dev/null

scan() { # pc, name
    "$cli" -C "$run" scan --group G --name "$2" --drive "C=$work/$1" --app-paths "$work/apps.txt" \
        --overwrite >/dev/null 2>&1
}
classes() { # per-PC file: "class program" per line, sorted
    iconv -f CP949 -t UTF-8 < "$1" | tr -d '\r' | sed -n '12,$p' | cut -f2,6 | LC_ALL=C sort
}

scan pc1 PC1 && scan pc2 PC2
check "first scan: classes 2, 3 and a repeat of 3" "1${tab}Word
2${tab}감사 도구
3${tab}Example Tool
4${tab}Example Tool" "$(classes "$run/CheckOut/G_PC1.ipt")"

# The PC's candidates file: one line per program found outside the key list.
size=$(stat -c %s "$pe/korean.exe")
check "per-PC candidates" "-${tab}-${tab}-${tab}감사 도구${tab}1, 2, 3, 4${tab}KOREAN.EXE${tab}${size}${tab}-${tab}국내 소프트웨어(주)${tab}-${tab}C:\\Tools\\${tab}" \
    "$(iconv -f CP949 -t UTF-8 < "$run/CheckOut/G_PC2.cand" | tr -d '\r')"
check "per-PC candidates end lines with CR LF" "3" "$(grep -c $'\r$' "$run/CheckOut/G_PC1.cand")"

# The total's candidates: distinct programs, most PCs first.
"$cli" -C "$run" consolidate --name T G_PC1.ipt G_PC2.ipt >"$work/out" 2>/dev/null
check "consolidation counts the candidates" "key-list candidates${tab}2" "$(grep candidates "$work/out")"
check "total candidates: PC counts and first folders" "KOREAN.EXE${tab}C:\\Tools\\${tab}2
Example.exe${tab}C:\\Apps\\${tab}1" \
    "$(iconv -f CP949 -t UTF-8 < "$run/CheckOut/T.cand" | tr -d '\r' | cut -f6,11,12)"

# Export: --min-pcs leaves out programs on fewer PCs.
"$cli" -C "$run" keylist candidates --name T --min-pcs 2 --out "$work/two.tsv" --utf8 >/dev/null 2>&1
check "--min-pcs 2" "KOREAN.EXE" "$(sed 1d "$work/two.tsv" | cut -f6)"
"$cli" -C "$run" keylist candidates --name T --out "$work/review.tsv" >"$work/out" 2>&1
check "export: status and count" "0|candidates${tab}2" "$?|$(grep "^candidates${tab}" "$work/out")"
check "export is CP949 with CR LF" "3" "$(grep -c $'\r$' "$work/review.tsv")"

# Merge into a new key list; the old one is not replaced in place.
"$cli" -C "$run" keylist merge --from "$work/review.tsv" -o "$run/KEYLIST.DAT" 2>"$work/err"
check "merge refuses to write over its key list" "1" "$?"
"$cli" -C "$run" keylist merge --from "$work/review.tsv" -o "$run/NEW.DAT" 2>"$work/err"
check "merge: status" "0" "$?"
check "merged entries" "4" "$("$cli" keylist list "$run/NEW.DAT" | wc -l | xargs)"
check "merge leaves out folder and PC count" "10" "$("$cli" keylist unpack "$run/NEW.DAT" | tail -n1 | tr -d '\r' | awk -F'\t' '{print NF}')"
"$cli" -C "$run" keylist merge --keylist NEW.DAT --from "$work/review.tsv" -o "$run/NEW2.DAT" 2>"$work/err"
check "merging again adds nothing" "4|yes" "$("$cli" keylist list "$run/NEW2.DAT" | wc -l | xargs)|$(grep -q '이미 키 리스트에 있는 줄 2개' "$work/err" && echo yes)"
# With the new key list there is nothing left to export.
"$cli" -C "$run" keylist candidates --name T --keylist NEW.DAT --out "$work/none.tsv" >"$work/out" 2>&1
check "export skips what the key list holds" "candidates${tab}0" "$(grep "^candidates${tab}" "$work/out")"

# Refused lines are all named and nothing is written.
printf 'caption\n-\t-\t-\tName\t1.0\t-\t5\nk\tAPP\tk\tN\n-\t-\t-\tN \t1\tB.EXE\t6\n' > "$work/bad.tsv"
"$cli" --utf8 -C "$run" keylist merge --from "$work/bad.tsv" -o "$run/BAD.DAT" 2>"$work/err"
check "bad lines: status, each named, nothing written" "1|3|no" \
    "$?|$(grep -c '번째 줄' "$work/err")|$([ -e "$run/BAD.DAT" ] && echo yes || echo no)"

# The second scan with the merged key list: every former candidate is class 1.
cp "$run/NEW.DAT" "$run/KEYLIST.DAT"
scan pc1 PC1
check "second scan: all identified" "1${tab}Example Tool
1${tab}Word
1${tab}감사 도구
4${tab}Example Tool" "$(classes "$run/CheckOut/G_PC1.ipt")"
check "second scan: no candidates left" "0" "$(wc -c < "$run/CheckOut/G_PC1.cand" | xargs)"

exit $fail
