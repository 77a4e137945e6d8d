#!/usr/bin/env bash
# The command's writes under faults: killed at several moments, a file-size
# limit, a read-only work folder; and typed names that would leave CheckOut.
# Every file is the earlier one or the whole new one, a failure exits non-zero.
#   write_faults_test.sh CLI FIXTURES REPORTS(0|1)
set -u
cli=$1
fixtures=$2
reports=${3:-0}
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
. "$(dirname "$0")/../check.sh"
badpath='File is Bad Path or Bad Function paramater...'
writeerr='Write File Open Error...!!'
run=$work/run
mkdir -p "$run/CheckOut"
names=(--dept dept --checker checker --confirm-dept cdept --confirmer confirmer)

# Many PCs with many programs, so that writing the total takes a while.
header=$(head -n 11 "$fixtures/CheckOut/a.ipt")
for pc in $(seq 1 150); do
    {
        printf '%s\n' "$header"
        awk -v pc="$pc" 'BEGIN { for (i = 0; i < 200; i++)
            printf "2\t1\tK0\tAPP\tK2\tProgram %d\t1.%d\tK7\tCompany %d\t1\tC:\\P%d\\\t\r\n",
                   (pc * 37 + i) % 4000, i % 9, i % 17, i }'
    } >"$run/CheckOut/pc$pc.ipt"
done
"$cli" -C "$run" consolidate --name big >/dev/null 2>&1 || { echo "FAIL reference"; exit 1; }
mv "$run/CheckOut/big.tls" "$work/reference.tls"
earlier() { printf 'an earlier total\r\n' >"$run/CheckOut/big.tls"; }
same() { # file, expected file: "old", "new" or "other"
    if cmp -s "$1" "$2"; then echo new; elif [ "$(cat "$1")" = "$(printf 'an earlier total\r')" ]; then echo old; else echo other; fi
}

# Killed at several moments: when the history scratch file appears, as soon
# as the new total is begun, and after a few fixed delays. The total is the
# earlier one or the whole new one, never a part.
kill_when() { # file to wait for ("" for none), delay
    earlier
    "$cli" -C "$run" consolidate --overwrite --name big >/dev/null 2>&1 &
    local pid=$! n=0
    if [ -n "$1" ]; then
        while ! compgen -G "$run/CheckOut/$1" >/dev/null && [ $n -lt 2000000 ] && kill -0 "$pid" 2>/dev/null; do n=$((n + 1)); done
    fi
    sleep "$2"
    kill -9 "$pid" 2>/dev/null && killed=$((killed + 1))
    wait "$pid" 2>/dev/null
    compgen -G "$run/CheckOut/big.tls.~*.new" >/dev/null && cut=$((cut + 1))
    local state
    state=$(same "$run/CheckOut/big.tls" "$work/reference.tls")
    check "killed (${1:-start} + $2 s): old or new total" "yes" "$([ "$state" != other ] && echo yes)"
    # A killed writer's temporaries are its own: no later writer removes
    # them. Its lock, of a process gone on this computer, is taken over.
    rm -f "$run/CheckOut/big.tls".~*.new "$run/CheckOut/big.cand".~*.new "$run/CheckOut/big_tm".~*
}
killed=0
cut=0
for wait_for in 'big_tm.~*' 'big.tls.~*.new' 'big.tls.~*.new' 'big.tls.~*.new'; do kill_when "$wait_for" 0; done
for delay in 0.05 0.1 0.2 0.4; do kill_when "" "$delay"; done
echo "ok killed $killed times, $cut times with the new total half written"
# A file-size limit: the write fails part way (EFBIG, not the signal).
limited() { (trap '' XFSZ; ulimit -f 8; "$@"); }
earlier
limited "$cli" -C "$run" consolidate --overwrite --name big >/dev/null 2>"$work/err"; rc=$?
check "limit: consolidate fails" "1" "$rc"
check "limit: its message" "yes" "$(grep -qxF "$writeerr" "$work/err" && echo yes)"
check "limit: earlier total kept" "old" "$(same "$run/CheckOut/big.tls" "$work/reference.tls")"
check "limit: no new file left" "" "$(ls "$run/CheckOut" | grep '\.new$')"

cp "$work/reference.tls" "$run/CheckOut/big.tls"
cp "$work/reference.tls" "$run/CheckOut/big.rst" # a written result with the total's rows
limited "$cli" -C "$run" result --name big "${names[@]}" >/dev/null 2>"$work/err"; rc=$?
check "limit: result fails" "1" "$rc"
check "limit: result message" "yes" "$(grep -qxF "$writeerr" "$work/err" && echo yes)"
check "limit: total kept" "new" "$(same "$run/CheckOut/big.tls" "$work/reference.tls")"
check "limit: written result kept" "" "$(cmp "$work/reference.tls" "$run/CheckOut/big.rst")"

echo earlier >"$work/out.csv"
limited "$cli" -C "$run" export --name big --from total --csv "$work/out.csv" >/dev/null 2>"$work/err"; rc=$?
check "limit: export fails" "1" "$rc"
check "limit: earlier CSV kept" "earlier" "$(cat "$work/out.csv")"
check "limit: no new CSV left" "" "$(ls "$work" | grep '\.new$')"
"$cli" -C "$run" export --name big --from total --csv "$work/out.csv" >/dev/null 2>&1; rc=$?
check "export without the limit" "0" "$rc"
check "export replaced the CSV" "1" "$(grep -c '^Program 1,' "$work/out.csv")"

if [ "$reports" = 1 ]; then
    echo earlier >"$work/out.pdf"
    limited "$cli" -C "$run" report --kind 3 --name big --pdf "$work/out.pdf" >/dev/null 2>"$work/err"; rc=$?
    check "limit: report fails" "1" "$rc"
    check "limit: earlier PDF kept" "earlier" "$(cat "$work/out.pdf")"
fi

# A read-only work folder (an ordinary user, as root writes anywhere).
as_user() { if [ "$(id -u)" = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi; }
earlier
rm -f "$run/CheckOut/big.rst"
chmod -R a+r "$run" "$work/out.csv"
listing=$(ls -l "$run/CheckOut")
chmod 555 "$run/CheckOut"
as_user "$cli" -C "$run" consolidate --overwrite --name big >/dev/null 2>"$work/err"; rc=$?
check "read-only: consolidate fails" "1" "$rc"
check "read-only: its message" "yes" "$(grep -qxF "$writeerr" "$work/err" && echo yes)"
as_user "$cli" -C "$run" result --name big "${names[@]}" >/dev/null 2>"$work/err"; rc=$?
check "read-only: result fails" "1" "$rc"
check "read-only: nothing changed" "$listing" "$(ls -l "$run/CheckOut")"
chmod 755 "$run/CheckOut"
mkdir -p "$work/ro" && echo earlier >"$work/ro/out.csv" && chmod 555 "$work/ro"
as_user "$cli" -C "$run" export --name big --from total --csv "$work/ro/out.csv" >/dev/null 2>&1; rc=$?
check "read-only: export fails" "1" "$rc"
check "read-only: earlier CSV kept" "earlier" "$(cat "$work/ro/out.csv")"
chmod 755 "$work/ro"

# Links planted in a shared work folder, and beside a named output, carry no
# write out of it: what they lead to stays as it was (or is not made), and
# the file written is a plain file with what a run without links writes.
links=$work/links
mkdir -p "$links/CheckOut"
cp "$fixtures/CheckOut/a.ipt" "$fixtures/CheckOut/b.ipt" "$links/CheckOut/"
printf 'kept\n' >"$work/own.txt"
plain() { [ -f "$1" ] && [ ! -L "$1" ] && echo plain; }
outside() { echo "$(cat "$work/own.txt") $([ -e "$work/made" ] || [ -L "$work/made" ] && echo made)"; }
"$cli" -C "$links" consolidate --name ref a.ipt b.ipt >/dev/null 2>&1
cp "$links/CheckOut/ref.tls" "$work/ref.tls"
"$cli" -C "$links" result --name ref "${names[@]}" >/dev/null 2>&1
"$cli" -C "$links" export --name ref --csv "$work/ref.csv" >/dev/null 2>&1
printf '#\tcaption\tc\tc\tc\nk0\tAPP\tk2\tName\t1.0\tA.EXE\t5\tk7\tCo\n' >"$work/k.tsv"
"$cli" keylist pack "$work/k.tsv" -o "$work/ref.dat" >/dev/null 2>&1
for to in own.txt made; do
    rm -f "$links/CheckOut/tot".* "$links/CheckOut/tot_tm" "$work/out".* "$work/made"
    for n in tot.tls.new tot.tls.old tot.rst.new tot.rst.old tot_tm; do ln -s "$work/$to" "$links/CheckOut/$n"; done
    ln -s "$work/$to" "$work/out.csv.new"
    ln -s "$work/$to" "$work/out.dat.new"
    "$cli" -C "$links" consolidate --name tot a.ipt b.ipt >/dev/null 2>&1; rc=$?
    check "links to $to: consolidate" "0 plain" "$rc $(plain "$links/CheckOut/tot.tls")"
    check "links to $to: the total" "" "$(cmp "$work/ref.tls" "$links/CheckOut/tot.tls" 2>&1)"
    "$cli" -C "$links" result --name tot "${names[@]}" >/dev/null 2>&1; rc=$?
    check "links to $to: result" "0 plain plain" \
        "$rc $(plain "$links/CheckOut/tot.tls") $(plain "$links/CheckOut/tot.rst")"
    check "links to $to: the written result" "" "$(cmp "$links/CheckOut/ref.rst" "$links/CheckOut/tot.rst" 2>&1)"
    "$cli" -C "$links" export --name tot --csv "$work/out.csv" >/dev/null 2>&1; rc=$?
    check "links to $to: export" "0 plain" "$rc $(plain "$work/out.csv")"
    check "links to $to: the CSV" "" "$(cmp "$work/ref.csv" "$work/out.csv" 2>&1)"
    "$cli" keylist pack "$work/k.tsv" -o "$work/out.dat" >/dev/null 2>&1; rc=$?
    check "links to $to: keylist pack" "0 plain" "$rc $(plain "$work/out.dat")"
    check "links to $to: the key list" "" "$(cmp "$work/ref.dat" "$work/out.dat" 2>&1)"
    check "links to $to: nothing outside changed" "kept " "$(outside)"
done

# Typed names never leave CheckOut: refused with the system's message before
# anything is written.
mkdir -p "$work/names/CheckOut"
cp "$fixtures/CheckOut/a.ipt" "$work/names/CheckOut/"
before=$(cd "$work" && find . | grep -v '^./err$' | sort)
for bad in '../x' '..\x' 'sub/x' 'c:x' 'C:\x' 'x..y' 'con' 'nul.tls'; do
    for cmd in "consolidate --overwrite --name" "result ${names[*]} --name" \
               "export --csv $work/names.csv --name"; do
        # shellcheck disable=SC2086
        "$cli" -C "$work/names" $cmd "$bad" >/dev/null 2>"$work/err"; rc=$?
        check "$cmd '$bad' refused" "1 $badpath" "$rc $(head -n 1 "$work/err")"
    done
    if [ "$reports" = 1 ]; then
        "$cli" -C "$work/names" report --kind 3 --name "$bad" --pdf "$work/names.pdf" >/dev/null 2>"$work/err"; rc=$?
        check "report '$bad' refused" "1 $badpath" "$rc $(head -n 1 "$work/err")"
    fi
    case $bad in
        con|nul.tls) ;; # "con_pc.ipt" and "g_con.ipt" are ordinary names
        *)
            "$cli" -C "$work/names" scan --group "$bad" --name pc >/dev/null 2>"$work/err"; rc=$?
            check "scan --group '$bad' refused" "2 $badpath" "$rc $(head -n 1 "$work/err")"
            "$cli" -C "$work/names" scan --group g --name "$bad" >/dev/null 2>"$work/err"; rc=$?
            check "scan --name '$bad' refused" "2 $badpath" "$rc $(head -n 1 "$work/err")"
            ;;
    esac
done
check "refused names wrote nothing" "$before" "$(cd "$work" && find . | grep -v '^./err$' | sort)"

exit $fail
