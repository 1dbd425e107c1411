#!/usr/bin/env bash
# The Windows job: cross-builds the 64- and 32-bit programs and their installers with MinGW-w64,
# and runs every Windows test under Wine on a virtual display, in one Wine prefix made for the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

cmake --preset windows-x64 >/dev/null
cmake --build build/windows-x64
# The 32-bit program takes its skin bitmaps from the 64-bit build: Wine here runs 64-bit programs
# only, and the bitmaps are the same for both.
cmake --preset windows-x86 >/dev/null
cmake --build build/windows-x86
xvfb-run -a ctest --preset windows-x64 -j "$(nproc)"
