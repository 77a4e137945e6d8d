# The shell tests' one check: sourced, it sets `fail` and defines
# check NAME EXPECTED ACTUAL, which prints "ok NAME" or what differed.
fail=0
check() { # name, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL $1"; echo " expected: $(printf %q "$2")"; echo " actual:   $(printf %q "$3")"; fail=1
    else
        echo "ok $1"
    fi
}
# The user guide in FOLDER: "page" when 사용설명서.html is missing, else each
# picture the page shows that is not a non-empty file of guide-pictures.
guide_gaps() { # folder
    local page=$1/사용설명서.html name
    [ -s "$page" ] || { echo page; return; }
    for name in $(grep -o 'guide-pictures/[A-Za-z0-9._-]*\.png' "$page" | sort -u); do
        [ -s "$1/$name" ] && [ ! -L "$1/$name" ] || echo "$name"
    done
}
