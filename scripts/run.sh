#!/usr/bin/env bash
# Installs what is missing, builds in release mode, and repairs the sample damaged PDF that
# ships with the project. Further arguments are repaired as well.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release -DTARNWICK_TESTS=OFF >/dev/null
cmake --build build/release --target tarnwick-repair
build/release/cli/tarnwick-repair --overwrite res/samples/damaged-sample.pdf "$@"
