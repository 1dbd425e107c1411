#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test; then the
# sanitizer job (tests, fuzzer, corpus) when scripts/sanitizers.sh is present.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset ci >/dev/null
cmake --build build/ci
ctest --preset ci -j "$(nproc)"
if [ -x scripts/sanitizers.sh ]; then
  scripts/sanitizers.sh
fi
