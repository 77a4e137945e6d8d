#!/usr/bin/env bash
# Builds the packages as a packager does (scripts/package.sh, from build
# folders of its own made afresh, so that a step it misses fails here) and
# checks them: the Linux installation and the Debian package (with lintian
# and its dependencies resolved by apt), the Windows build configured for
# the command line without the Linux tools, then under Wine the Windows
# programs' import tables and version resources, the USB-stick kit and the
# installer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
start=$SECONDS

bash scripts/package.sh
version=$(sed -n 's/^#define OSTRAVION_VERSION "\(.*\)"$/\1/p' build-pkg/generated/Version.h)
built=$SECONDS

echo "== Linux installation and Debian package"
bash tests/packaging/linux_test.sh build-pkg \
  "dist/ostravion_${version}_$(dpkg --print-architecture).deb" "$version"

echo "== Windows build of the command line alone, without the Linux tools"
cli_only=$root/build-pkg-cli
rm -rf "$cli_only"
cmake -S . -B "$cli_only" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DOSTRAVION_TESTS=OFF -DOSTRAVION_BENCH=OFF \
  -DOSTRAVION_HOST_BUILD="$cli_only/none" >"$cli_only.log" 2>&1 || { cat "$cli_only.log"; exit 1; }
targets=$(ninja -C "$cli_only" -t targets all | sed -n 's/^\(src\/[^:]*\.exe\): .*/\1/p' | sort | xargs)
rm -rf "$cli_only" "$cli_only.log"
if [ "$targets" != "src/ostravion-cli.exe" ]; then
  echo "FAIL the Windows build without the Linux tools makes: $targets"
  exit 1
fi
echo "ok the Windows build configures for ostravion-cli.exe alone without the Linux tools"

echo "== Windows kit and installer under Wine"
# The Korean Wine of scripts/test-windows.sh, without a display.
source scripts/korean-wine.sh
korean_wine_setup "$root"
export LC_ALL=ko_KR.UTF-8
bash tests/packaging/windows_test.sh "$root/dist" "$version"
echo "== packages: build $((built - start)) s, checks $((SECONDS - built)) s"
