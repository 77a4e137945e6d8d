# The reference for the timing: over the same per-PC files, the same
# case-insensitive count of programs in order of first appearance (class "4"
# lines not counted) and the same concatenation of every list line into a
# history that is copied after the rows into OUT.
BEGIN { FS = "\t" }
FNR == 1 { inlist = 0; wantcomp = 0; comp = "" }
{ sub(/\r$/, "") }
!inlist {
    if (wantcomp) { comp = $0; wantcomp = 0 }
    else if (index($0, COMP) == 1) wantcomp = 1
    else if (index($0, LIST) == 1) inlist = 1
    next
}
NF >= 11 {
    letter = ($2 == "1") ? "A" : ($2 == "2") ? "B" : ($2 == "3") ? "C" : "D"
    printf "%s\t%s\t%s\t%s\t%s\t\r\n", comp, $9, $6, $11, letter > HIST
    if ($2 != "4") {
        key = tolower($6)
        if (!(key in count)) { order[++n] = key; first[key] = $0 }
        count[key]++
    }
}
END {
    close(HIST)
    for (i = 1; i <= n; i++) {
        split(first[order[i]], f, "\t")
        printf "%s\t%s\t%s\t%s\t%s\t%s\t%d\t0\t0\t%s\t%s\t%s\t%s\t\r\n", f[1], f[4], f[5], f[3], f[6], f[7], count[order[i]], f[8], f[9], f[10], f[2] > OUT
    }
    print "[PC_HISTORY]\r" > OUT
    while ((getline line < HIST) > 0) print line > OUT
}
