#!/usr/bin/env bash
# The print-preview tests of report_gdi_tests.exe, under Wine on a display:
# the one set, or else a virtual X server of their own (Xvfb), and in a Wine
# desktop of their own, so that Wine programs that run without a display at
# the same time do not matter. Skipped (77) with neither a display nor Xvfb.
#   preview_test.sh WINE report_gdi_tests.exe [SCREENSHOT_FOLDER]
set -u
wine=$1
exe=$2
work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    if ! command -v Xvfb >/dev/null; then
        echo "no display and no Xvfb (Debian package xvfb): skipped"
        exit 77
    fi
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=:$(head -n1 "$work/display")
fi
[ -n "${3:-}" ] && export OSTRAVION_SCREENSHOTS="Z:${3//\//\\}"
"$wine" explorer /desktop=OstravionPreview,1280x800 "$exe" --gtest_filter='*Preview*' \
    --gtest_output="xml:Z:${work//\//\\}\\result.xml"
# The desktop's program may not hand its exit status on: the report says.
result=$work/result.xml
[ -s "$result" ] || { echo "no test report"; exit 1; }
head -n3 "$result" | grep -q 'failures="0"' && head -n3 "$result" | grep -q 'errors="0"' &&
    ! grep -q 'result="skipped"' "$result" && grep -q '<testcase' "$result"
