#!/usr/bin/env bash
# Builds every package a user downloads into dist/ (ignored by git):
#   dist/Ostravion-VERSION-win64.zip    the USB-stick kit
#   dist/Ostravion-VERSION-setup.exe    the Windows installer
#   dist/ostravion_VERSION_ARCH.deb     the Debian package
# It installs what it needs on a fresh Debian machine and builds the way a
# packager does: Release, without tests or benchmarks, in build folders of
# its own made afresh each time, so that nothing stale is packed:
# build-pkg/ for the Linux programs (whose Qt code also draws vxa.spl and
# whose tools write the Windows program's pictures and resource texts) and
# build-pkg-win/ for the Windows programs. The programs of both then draw
# the user guide's pictures (scripts/guide.sh; the Windows windows under Wine)
# into build-pkg/guide, which every package carries. Compiler warnings are errors, as
# in every build of the scripts (OSTRAVION_WERROR=OFF makes them warnings).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dist=$root/dist
linux=$root/build-pkg
windows=$root/build-pkg-win
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTRAVION_WERROR="${OSTRAVION_WERROR:-ON}"
         -DOSTRAVION_TESTS=OFF -DOSTRAVION_BENCH=OFF -DOSTRAVION_DIST_DIR="$dist")

bash scripts/deps.sh --windows
rm -rf "$linux" "$windows"
mkdir -p "$dist"
rm -f "$dist"/Ostravion-*-win64.zip "$dist"/Ostravion-*-setup.exe "$dist"/ostravion_*.deb

guide=$linux/guide
start=$SECONDS
echo "== Linux programs"
cmake -S . -B "$linux" "${options[@]}" -DOSTRAVION_GUIDE_DIR="$guide" >/dev/null
cmake --build "$linux" -j"$jobs"

linux_time=$((SECONDS - start))
echo "== Windows programs"
cmake -S . -B "$windows" "${options[@]}" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DOSTRAVION_HOST_BUILD="$linux" -DOSTRAVION_SPLASH_PICTURE="$linux/vxa.spl" \
  -DOSTRAVION_GUIDE_DIR="$guide" >/dev/null
cmake --build "$windows" -j"$jobs"
windows_time=$((SECONDS - start - linux_time))

# The guide's pictures are drawn by the programs just built, the Windows ones
# under Wine in the Korean locale.
echo "== the user guide"
bash scripts/guide.sh "$linux" "$windows" "$guide"
guide_time=$((SECONDS - start - linux_time - windows_time))

echo "== the Debian package, the USB-stick kit and the installer"
(cd "$linux" && cpack --config CPackConfig.cmake -B "$linux/cpack" >/dev/null)
# The kit's zip holds the guide's Korean name in UTF-8.
LC_ALL=C.UTF-8 cmake --build "$windows" -j"$jobs" --target kit setup

echo "== dist/ (Linux build $linux_time s, Windows build $windows_time s, guide $guide_time s)"
ls -l "$dist"
