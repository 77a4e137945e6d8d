#!/usr/bin/env bash
# Many writers on one work folder at once, as logon scripts and auditors meet
# on a file server: WRITERS commands of `result` (each with its own genuine
# count) for ROUNDS rounds on one total, and pairs of consolidations into one
# new name and onto one existing name. Every command either succeeds with its
# data in the files or fails (status 4, the Korean message naming the
# holder) with nothing changed; no file is mixed or partial; no success loses
# its data. Writers alternate between the programs given (a Linux and a
# Windows one under Wine write the same folder together).
#   shared_folder_test.sh CLI [OTHER_CLI]   (WRITERS=8 ROUNDS=50 by default)
set -u
clis=()
for c in "$@"; do [ -x "$c" ] && clis+=("$c"); done
[ "${#clis[@]}" -eq "$#" ] || echo "note: a program given is not there; the others write alone"
[ "${#clis[@]}" -gt 0 ] || { echo "FAIL no program"; exit 1; }
writers=${WRITERS:-8}
rounds=${ROUNDS:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../check.sh"
run=$work/run
mkdir -p "$run/CheckOut"
utf8() { iconv -f CP949 -t UTF-8 "$1" | tr -d '\r'; }
cli_of() { echo "${clis[$(($1 % ${#clis[@]}))]}"; }

# Eight PCs, each with the programs P1 .. P$writers: every program installed 8 times.
for pc in 1 2 3 4 5 6 7 8; do
    {
        printf '[컴퓨터명]\nPC%s\n[액티브사용자]\nkim\n[컴퓨터기종]\nx86\n[검사일시]\n2026-12-9, 9:0\n[그룹]\nG\n[리스트]\n' "$pc"
        for p in $(seq 1 "$writers"); do
            printf '2\t1\tK0\tAPP\tK2\tP%s\t1.0\tK7\tAcme\t1\tC:\\P%s\\\t\n' "$p" "$p"
        done
    } | sed 's/$/\r/' | iconv -f UTF-8 -t CP949 >"$run/CheckOut/G_PC$pc.ipt"
done
"${clis[0]}" -C "$run" consolidate --name t >/dev/null 2>&1
names=(--dept 감사팀 --confirm-dept 전산실 --confirmer 이확인)
"${clis[0]}" -C "$run" result --name t "${names[@]}" --checker start >/dev/null 2>&1
check "setup" "yes" "$([ -s "$run/CheckOut/t.rst" ] && echo yes)"

# Writer i sets the genuine count of Pi, round after round; its last success
# must be what the files hold at the end.
writer() { # i
    local i=$1 r v rc cli
    cli=$(cli_of "$i")
    for r in $(seq 1 "$rounds"); do
        v=$(((i * 7 + r) % 9))
        printf 'P%s,%s\r\n' "$i" "$v" >"$work/w$i.csv"
        "$cli" -C "$run" result --name t "${names[@]}" --checker "W$i-$r" --genuine "$work/w$i.csv" \
            >/dev/null 2>"$work/w$i.err"; rc=$?
        case $rc in
        0) echo "$v" >"$work/w$i.last" ;;
        4) grep -q '다른 사람이 이 파일을 쓰고 있어' "$work/w$i.err" || echo "round $r: status 4 without its message" >>"$work/w$i.bad" ;;
        *) echo "round $r: status $rc: $(head -c 300 "$work/w$i.err")" >>"$work/w$i.bad" ;;
        esac
        echo "$rc" >>"$work/w$i.codes"
    done
}
for i in $(seq 1 "$writers"); do echo 0 >"$work/w$i.last"; writer "$i" & done
wait
bad=$(cat "$work"/w*.bad 2>/dev/null | head -5)
check "every result command succeeded or was held" "" "$bad"
succeeded=$(cat "$work"/w*.codes | grep -c '^0$')
echo "results: $succeeded of $((writers * rounds)) succeeded, the others were held"
check "results succeeded" "yes" "$([ "$succeeded" -gt 0 ] && echo yes)"

# No success lost: each program's genuine count is its writer's last success.
rst=$(utf8 "$run/CheckOut/t.rst")
lost=""
for i in $(seq 1 "$writers"); do
    got=$(printf '%s\n' "$rst" | awk -F'\t' -v p="P$i" '$5 == p { print $8 }')
    [ "$got" = "$(cat "$work/w$i.last")" ] || lost="$lost P$i=$got/$(cat "$work/w$i.last")"
done
check "no lost genuine count" "" "$lost"
# No mixed or partial file: both files hold the rows of one command, with
# thirteen fields each, and name the same checker.
tls=$(utf8 "$run/CheckOut/t.tls")
rows() { printf '%s\n' "$1" | sed -n '/^\[리스트\]$/,/^\[PC_HISTORY\]$/p' | grep -v '^\[' ; }
check "written result rows whole" "$writers" "$(rows "$rst" | awk -F'\t' 'NF == 14' | wc -l)"
check "total rows as the written result" "$(rows "$rst")" "$(rows "$tls")"
checker() { printf '%s\n' "$1" | sed -n '/^\[점검자\]$/{n;p;q}'; }
check "one command's files" "$(checker "$rst")" "$(checker "$tls")"
check "history whole" "$((8 * writers))" "$(printf '%s\n' "$tls" | sed -n '/^\[PC_HISTORY\]$/,$p' | grep -c '^PC')"
check "no lock or temporary left" "" "$(ls -a "$run/CheckOut" | grep -E '\.lock$|\.~|_tm')"

# Two consolidations into one new name: one makes it, the other keeps it
# (status 1) or finds it held (4); two onto one name with --overwrite: each
# writes a whole total in turn, or finds it held.
pairs=$((rounds / 5 + 1))
for r in $(seq 1 "$pairs"); do
    for k in 1 2; do
        ( "$(cli_of "$k")" -C "$run" consolidate --name "n$r" >/dev/null 2>"$work/n$r.$k.err"
          echo $? >"$work/n$r.$k" ) &
        ( "$(cli_of "$k")" -C "$run" consolidate --overwrite --name o >/dev/null 2>"$work/o$r.$k.err"
          echo $? >"$work/o$r.$k" ) &
    done
    wait
done
newOk=""
overwriteBad=""
for r in $(seq 1 "$pairs"); do
    codes="$(cat "$work/n$r.1") $(cat "$work/n$r.2")"
    case $codes in "0 1" | "1 0" | "0 4" | "4 0") ;; *) newOk="$newOk [$r: $codes]" ;; esac
    for k in 1 2; do
        case $(cat "$work/o$r.$k") in 0 | 4) ;; *) overwriteBad="$overwriteBad [$r.$k: $(head -c 200 "$work/o$r.$k.err")]" ;; esac
    done
done
check "one new total of each name" "" "$newOk"
check "overwriting consolidations whole or held" "" "$overwriteBad"
check "overwritten total whole" "$((8 * writers))" \
    "$(utf8 "$run/CheckOut/o.tls" | sed -n '/^\[PC_HISTORY\]$/,$p' | grep -c '^PC')"
check "nothing left beside" "" "$(ls -a "$run/CheckOut" | grep -E '\.lock$|\.~|_tm')"
exit $fail
