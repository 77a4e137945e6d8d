#!/usr/bin/env bash
# Builds every package a user downloads into dist/ (ignored by git):
#   dist/Ostravion-VERSION-win64.zip    the USB-stick kit
#   dist/Ostravion-VERSION-setup.exe    the Windows installer
#   dist/ostravion_VERSION_ARCH.deb     the Debian package
# It installs what it needs on a fresh Debian machine, builds the Linux
# programs (build/, whose Qt code also draws vxa.spl for the Windows
# packages) and cross-builds the Windows programs (build-win/).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dist=$root/dist
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2

bash scripts/deps.sh --windows
mkdir -p "$dist"

echo "== Linux programs and the Debian package"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTRAVION_DIST_DIR="$dist" >/dev/null
cmake --build build -j"$jobs" --target ostravion ostravion-cli ostravion_splash_picture ostravion_manual
(cd build && cpack --config CPackConfig.cmake -B "$root/build/cpack" >/dev/null)

echo "== Windows programs, the USB-stick kit and the installer"
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DOSTRAVION_SPLASH_PICTURE="$root/build/vxa.spl" -DOSTRAVION_DIST_DIR="$dist" >/dev/null
cmake --build build-win -j"$jobs" --target kit setup

echo "== dist/"
ls -l "$dist"
