#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 and runs their tests under
# Wine: the core tests, the Windows platform tests on real files and registry
# keys, and the command-line program.
#
# Wine runs without a display, in its own prefix inside the build folder, and
# in a Korean locale so that the ANSI calls speak CP949. To run one program by
# hand afterwards:
#   LOCPATH=build-win/locale LC_ALL=ko_KR.UTF-8 WINEPREFIX=$PWD/build-win/wineprefix \
#     WINEDEBUG=-all wine build-win/tests/platform_tests.exe
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-win
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
start=$SECONDS

bash scripts/deps.sh --windows

# The Windows program's pictures and resource texts are made by two tools of
# the Linux build.
echo "== host tools for the Windows resources"
[ -e build/build.ninja ] || cmake -S . -B build -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target ostravion-resources ostravion-pictures -j"$jobs"

echo "== windows cross build (MinGW-w64)"
cmake -S . -B "$build" -G Ninja -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build "$build" -j"$jobs"
built=$SECONDS

# The Korean locale, made from the locales package's sources.
export LOCPATH=$build/locale
if [ ! -e "$LOCPATH/ko_KR.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ko_KR -f UTF-8 "$LOCPATH/ko_KR.UTF-8" || [ -e "$LOCPATH/ko_KR.UTF-8/LC_CTYPE" ]
fi

export WINEPREFIX=$build/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installers, and no window of any kind.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# The windows of the desktop program's tests go to a virtual display of their
# own; the display is stopped with the Wine server at the end.
xvfb_pid=
for n in $(seq 91 120); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
  Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  if kill -0 $xvfb_pid 2>/dev/null; then export DISPLAY=:$n; break; fi
  xvfb_pid=
done
trap 'wineserver -k 2>/dev/null || true; [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null || true' EXIT

run_korean() { LC_ALL=ko_KR.UTF-8 "$@"; }

if [ ! -e "$WINEPREFIX/system.reg" ]; then
  echo "== wine prefix (first start)"
  run_korean wine wineboot --init >/dev/null 2>&1 || true
  run_korean wineserver -w
fi
# The Korean faces the program asks for, mapped to the Nanum fonts so that
# each looks like itself (gothic, fixed-width, serif).
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
if [ ! -e "$WINEPREFIX/.korean-fonts" ]; then
  for pair in "굴림=NanumGothic" "굴림체=NanumGothicCoding" "바탕체=NanumMyeongjo" \
              "신명조체=NanumMyeongjo" "바탕=NanumMyeongjo" "돋움=NanumGothic"; do
    run_korean wine reg add "$subst" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1 || true
  done
  run_korean wineserver -w
  touch "$WINEPREFIX/.korean-fonts"
fi
ready=$SECONDS

echo "== tests under wine"
(cd "$build" && run_korean ctest --output-on-failure -j"$jobs")

echo "== ostravion-cli.exe facts"
run_korean wine "$build/src/ostravion-cli.exe" facts

echo "== windows: build $((built - start)) s, prefix $((ready - built)) s," \
  "tests $((SECONDS - ready)) s, total $((SECONDS - start)) s"
