#!/usr/bin/env bash
# The Windows job: cross-builds the 64- and 32-bit programs with MinGW-w64 and the 32-bit setup,
# then runs every Windows test under Wine on a virtual display; the tests pack the 64-bit setup,
# install and uninstall it, and look into both setups.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

cmake --preset windows-x64 >/dev/null
cmake --build build/windows-x64
# The 32-bit program takes its skin bitmaps from the 64-bit build: Wine here runs 64-bit programs
# only, and the bitmaps are the same for both.
cmake --preset windows-x86 >/dev/null
cmake --build build/windows-x86
cmake --build build/windows-x86 --target installer
xvfb-run -a ctest --preset windows-x64 -j "$(nproc)"
