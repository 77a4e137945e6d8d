#!/usr/bin/env bash
# Builds the packages (scripts/package.sh) and checks them: the Linux
# installation and the Debian package, then under Wine the Windows programs'
# import tables and version resources, the USB-stick kit and the installer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
start=$SECONDS

bash scripts/package.sh
version=$(sed -n 's/^#define OSTRAVION_VERSION "\(.*\)"$/\1/p' build/generated/Version.h)
built=$SECONDS

echo "== Linux installation and Debian package"
bash tests/packaging/linux_test.sh build "dist/ostravion_${version}_$(dpkg --print-architecture).deb" \
  "$version"

echo "== Windows kit and installer under Wine"
# The Korean Wine of scripts/test-windows.sh.
export LOCPATH=$root/build-win/locale
if [ ! -e "$LOCPATH/ko_KR.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ko_KR -f UTF-8 "$LOCPATH/ko_KR.UTF-8" || [ -e "$LOCPATH/ko_KR.UTF-8/LC_CTYPE" ]
fi
export WINEPREFIX=$root/build-win/wineprefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ko_KR.UTF-8
unset DISPLAY WAYLAND_DISPLAY
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  wine wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
bash tests/packaging/windows_test.sh "$root/dist" "$version"
echo "== packages: build $((built - start)) s, checks $((SECONDS - built)) s"
