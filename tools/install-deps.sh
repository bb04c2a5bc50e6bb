#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and ./run.sh use, when
# any is missing. Quick when everything is there.
set -euo pipefail
packages=(
  cmake ninja-build g++ zlib1g-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 libz-mingw-w64-dev
  wine64 xvfb x11-utils imagemagick
  fonts-liberation2 fonts-wqy-zenhei fonts-wqy-microhei
  python3 python3-pil python3-pefile
  clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
