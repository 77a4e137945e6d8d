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
