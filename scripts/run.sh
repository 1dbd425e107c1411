#!/usr/bin/env bash
# Installs what is missing, builds in release mode, installs the programs into a local prefix
# (build/prefix, with the settings of the current user pointing there) and starts the desktop
# program. Without a display it says so and repairs the shipped sample damaged PDF with the
# command-line tool instead; further arguments are repaired as well.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release -DTARNWICK_TESTS=OFF >/dev/null
cmake --build build/release
prefix="$PWD/build/prefix"
cmake --install build/release --prefix "$prefix" >/dev/null
echo "Installed into $prefix (programs in $prefix/lib/tarnwick, commands in $prefix/bin)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$prefix/bin/tarnwick"
fi
echo "No display is available, so the desktop program cannot open its windows here."
echo "Repairing the sample with the command-line tool instead:"
"$prefix/bin/tarnwick-repair" --overwrite res/samples/damaged-sample.pdf "$@"
