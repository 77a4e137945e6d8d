# The Korean Wine the Windows programs run in, for the scripts that source
# this file (bash): a Korean locale, so that the ANSI calls speak CP949, the
# test prefix inside build-win/ with the Korean faces the program asks for
# mapped to the Nanum fonts, and on request a virtual display of its own.
#
#   source scripts/korean-wine.sh
#   korean_wine_setup ROOT           # the locale, the environment, the prefix
#   korean_wine_display              # a private Xvfb (1280x800x24); sets DISPLAY
#   trap korean_wine_stop EXIT       # the Wine server and the display ended
#
# korean_wine_setup exports LOCPATH, WINEPREFIX, WINEARCH, WINEDEBUG and
# WINEDLLOVERRIDES and unsets DISPLAY, so that Wine shows no window unless a
# display is asked for; it does not set LC_ALL (run Wine with
# LC_ALL=ko_KR.UTF-8, or export it). On a fresh clone it makes build-win/,
# the locale and the prefix.

korean_wine_xvfb_pid=

korean_wine_setup() {
  local root=$1
  local build=$root/build-win
  mkdir -p "$build"
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
  if [ ! -e "$WINEPREFIX/system.reg" ]; then
    echo "== wine prefix (first start)"
    LC_ALL=ko_KR.UTF-8 wine wineboot --init >/dev/null 2>&1 || true
    LC_ALL=ko_KR.UTF-8 wineserver -w
  fi
  # Wine's own symbol font, which draws the title bars' buttons and the
  # check marks (Debian package fonts-wine), where this Wine does not find it.
  if [ -e /usr/share/wine/fonts/marlett.ttf ] && [ ! -e "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  # The Korean faces the program asks for, mapped to the Nanum fonts so that
  # each looks like itself (gothic, fixed-width, serif).
  local subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' pair
  if [ ! -e "$WINEPREFIX/.korean-fonts" ]; then
    for pair in "굴림=NanumGothic" "굴림체=NanumGothicCoding" "바탕체=NanumMyeongjo" \
                "신명조체=NanumMyeongjo" "바탕=NanumMyeongjo" "돋움=NanumGothic"; do
      LC_ALL=ko_KR.UTF-8 wine reg add "$subst" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f \
        >/dev/null 2>&1 || true
    done
    LC_ALL=ko_KR.UTF-8 wineserver -w
    touch "$WINEPREFIX/.korean-fonts"
  fi
}

# A virtual display of its own, 1280x800 in 24 bits, on the first free
# number from 91; DISPLAY names it. Fails when none starts.
korean_wine_display() {
  local n
  korean_wine_xvfb_pid=
  for n in $(seq 91 120); do
    { [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; } && continue
    Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    korean_wine_xvfb_pid=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    if kill -0 "$korean_wine_xvfb_pid" 2>/dev/null; then
      export DISPLAY=:$n
      return 0
    fi
    korean_wine_xvfb_pid=
  done
  echo "no virtual display could be started (Xvfb)" >&2
  return 1
}

# Ends the prefix's Wine server and the display korean_wine_display started.
korean_wine_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "$korean_wine_xvfb_pid" ]; then
    kill "$korean_wine_xvfb_pid" 2>/dev/null || true
    korean_wine_xvfb_pid=
  fi
}
