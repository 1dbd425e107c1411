#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test; then the
# sanitizer job (tests, fuzzer, corpus) and the Windows job (cross builds, installers, tests under
# Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset ci >/dev/null
cmake --build build/ci
ctest --preset ci -j "$(nproc)"
scripts/sanitizers.sh
scripts/windows.sh
