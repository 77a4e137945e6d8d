#!/usr/bin/env bash
# Installs the Debian packages the build and tests need; quick when they are present.
#   scripts/deps.sh             the native build
#   scripts/deps.sh --windows   and the Windows cross build with its Wine run
set -euo pipefail
packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n fonts-nanum fonts-liberation2 poppler-utils fd-find time
  binutils-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix
  # Windows disks without Windows: NTFS volumes and registry hives read
  # directly (libfsntfs's header needs libbfio's), and ntfs-3g (with
  # setfattr for its attributes) for the tests' disk images.
  libfsntfs-dev libbfio-dev libhivex-dev ntfs-3g attr pkg-config
  # Whole disks and their containers: partition tables (libblkid), VHD and
  # VHDX, VMDK, qcow2, EWF, BitLocker; and the tools that make the tests'
  # disks (sfdisk, sgdisk, qemu-img, ewfacquire).
  libblkid-dev libvhdi-dev libvmdk-dev libqcow-dev libewf-dev libbde-dev
  fdisk gdisk qemu-utils ewf-tools
)
if [ "${1:-}" = "--windows" ]; then
  # GoogleTest's sources to build with MinGW-w64 (above), Wine to run the
  # programs, and localedef for the Korean locale.
  packages+=(googletest wine wine64 locales)
  # Wine's own fonts: the symbol font of the title bars' buttons.
  packages+=(fonts-wine)
  # A virtual display for the desktop program's windows and the print preview.
  packages+=(xvfb xdotool)
  # The programs' icon file, the installer and the kit's test.
  packages+=(icoutils nsis unzip)
  # The Debian package's checks.
  packages+=(lintian)
  # The user guide's page, made from its Markdown.
  packages+=(pandoc)
fi
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
