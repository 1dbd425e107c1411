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
    # Fonts of Wine's own that this Wine does not find by itself: the caption buttons' symbols,
    # and Tahoma, which stands for the dialogs' "MS Shell Dlg" as on Windows.
    for font in marlett tahoma tahomabd; do
      cp "/usr/share/wine/fonts/$font.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
    wineserver -w
    touch "$WINEPREFIX/.ready"
  fi
  exec 9>&-
fi
# One server kept for the whole run, so that each program starts in a fraction of a second. Its
# desktop belongs to the X session it was started in (none for the build's test discovery), and
# gives no windows to programs of another session: a server from elsewhere is ended first.
exec 9>"$WINEPREFIX.lock"
flock 9
session="${DISPLAY:-none} ${XAUTHORITY:-}"
if [ "$(cat "$WINEPREFIX/.session" 2>/dev/null || true)" != "$session" ]; then
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  printf '%s\n' "$session" >"$WINEPREFIX/.session"
fi
wineserver -p30 >/dev/null 2>&1 </dev/null 9>&- || true
exec 9>&-
# Wine's helper processes (the desktop window, the services) live as long as the server and keep
# the output they inherited open; CTest would wait for them to end each test. The program writes
# into files instead, shown when it ends.
output="$(mktemp)"
errors="$(mktemp)"
trap 'rm -f "$output" "$errors"' EXIT
status=0
wine "$@" >"$output" 2>"$errors" || status=$?
# Now and then, with programs starting side by side, one ends at once with a failure before
# printing a word; a test program has always printed its heading before its first test runs. It
# is started once more.
if [ "$status" -ne 0 ] && [ ! -s "$output" ] && [ ! -s "$errors" ]; then
  echo "wine.sh: $1 ended with status $status before printing anything; starting it again" >&2
  status=0
  wine "$@" >"$output" 2>"$errors" || status=$?
fi
cat "$output"
cat "$errors" >&2
exit "$status"
