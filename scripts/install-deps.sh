#!/usr/bin/env bash
# Installs what Tenzor needs to build, test and run on Debian 12. Does nothing when
# everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps fonts-dejavu-core rsync bc time netpbm tzdata
  # the install test and the Debian package (scripts/package.sh)
  desktop-file-utils appstream man-db groff-base dpkg-dev file lintian binutils
  # the test on a FAT folder mounted through FUSE
  fusefat dosfstools
  # the fuzz targets (scripts/fuzz.sh): clang and its libFuzzer
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
