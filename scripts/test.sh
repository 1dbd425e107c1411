#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test; then the
# sanitizer job (tests, fuzzer, corpus) and the Windows job (cross builds, installers, tests under
# Wine).
set -euo pipefail
cd "$(dirname "$0")/.."

# Each phase's time is printed at the end, so that a slow run shows where its time went.
timings=()
phase() {
  local name=$1 started=$SECONDS
  shift
  "$@"
  timings+=("$(printf '%5d s  %s' $((SECONDS - started)) "$name")")
}

phase "dependencies" scripts/deps.sh
phase "configure" cmake --preset ci >/dev/null
phase "build" cmake --build build/ci
phase "tests" ctest --preset ci -j "$(nproc)"
phase "sanitizer job" scripts/sanitizers.sh
phase "Windows job" scripts/windows.sh
printf '== time per phase\n'
printf '%s\n' "${timings[@]}"
printf '%5d s  in all\n' "$SECONDS"
