#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix, which the first run makes: CTest
# and the build use it as the emulator of the Windows targets.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${TARNWICK_WINEPREFIX:-$here/build/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
if [ ! -f "$WINEPREFIX/.ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.ready" ]; then
    # No Mono or Gecko to offer: the machine has neither, and their installers would wait for a
    # click. Unmanaged windows keep the X11 driver fast under Xvfb.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.ready"
  fi
  exec 9>&-
fi
# One server kept for the whole run, so that each program starts in a fraction of a second. It
# must not inherit this program's output: CTest waits for every holder of a test's pipe to end.
wineserver -p30 </dev/null >/dev/null 2>&1 || true
exec wine "$@"
