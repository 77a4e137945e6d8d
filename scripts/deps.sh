#!/usr/bin/env bash
# Installs the Debian packages the build and tests need; quick when they are present.
set -euo pipefail
packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  qt6-base-dev qt6-base-dev-tools fonts-nanum fonts-liberation2 poppler-utils fd-find time
  binutils-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
