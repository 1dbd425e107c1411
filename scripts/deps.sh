#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and benchmarking need; skips the
# package manager when everything is already there.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libgcrypt20-dev
  qpdf poppler-utils ghostscript mupdf-tools nlohmann-json3-dev python3-jsonschema
  qt6-base-dev qt6-pdf-dev libgl-dev xvfb xauth
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  libz-mingw-w64-dev libgcrypt-mingw-w64-dev googletest nsis p7zip-full wine64 imagemagick
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
