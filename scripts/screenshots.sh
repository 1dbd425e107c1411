#!/usr/bin/env bash
# Takes the README's screenshots of the real desktop program: installs a release build into
# build/prefix, starts it on a private Xvfb display and drives it with xdotool as a user would
# (two PDFs: a damaged sample and a large empty file that keeps the analysis busy for a moment),
# grabbing each window with scrot into docs/screenshots/: the help window and the About box on
# the way.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
for tool in xdotool scrot; do
  command -v "$tool" >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$tool" >/dev/null
done

work=$(mktemp -d)
trap 'kill "${program:-}" "${display_server:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export TARNWICK_REGISTRY="$work/registry.ini" HOME="$work/home" XDG_STATE_HOME="$work/state"
cmake --preset release -DTARNWICK_TESTS=OFF >/dev/null
cmake --build build/release >/dev/null
cmake --install build/release --prefix "$PWD/build/prefix" >/dev/null

mkdir -p "$work/pdfs" "$work/saved" docs/screenshots
cp res/samples/damaged-sample.pdf "$work/pdfs/1-report.pdf"
truncate -s 1G "$work/pdfs/2-archive.pdf"  # sparse: costs no disk, takes seconds to scan

export DISPLAY=:91
Xvfb "$DISPLAY" -screen 0 1280x800x24 >/dev/null 2>&1 &
display_server=$!
sleep 1
# Started in the folder the copies are saved to, which the folder browser opens on.
(cd "$work/saved" && exec "$OLDPWD/build/prefix/bin/tarnwick") >/dev/null 2>&1 &
program=$!

title=" Tarnwick for Adobe PDF"
# The visible window with that title and width (the main dialogs share their title).
window() {
  local found
  for _ in $(seq 100); do
    found=""
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id")"
      if [ -z "${2:-}" ] || [ "$WIDTH" = "$2" ]; then found=$id; fi
    done
    if [ -n "$found" ]; then echo "$found"; return; fi
    sleep 0.1
  done
  echo "no window \"$1\" ${2:-}" >&2
  return 1
}
# Grabs the window's area of the screen.
shoot() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  scrot -o -a "$X,$Y,$WIDTH,$HEIGHT" "docs/screenshots/$2.png"
  echo "docs/screenshots/$2.png"
}
# Types a path into a file dialog and accepts it; a first Return may only take the completion
# that the dialog offers. A dialog still busy reading its folder may lose the keys, so the path
# is typed again over whatever the name field holds until the dialog has gone. Keys go through
# the X server's keyboard to the focused window, as a user's do.
answer() {
  window "$1" >/dev/null
  for _ in 1 2 3 4; do
    sleep 1.5
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    xdotool key ctrl+a
    xdotool type "$2"
    for _ in 1 2; do
      xdotool key Return
      sleep 0.7
      xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    done
  done
  echo "the dialog \"$1\" did not take $2" >&2
  return 1
}
# Clicks the centre of a control given in dialog units (x, y, width, height); `top` is the height
# of the window's menu bar, if it has one.
click() {
  local id=$1 top=$2 x=$3 y=$4 w=$5 h=$6
  xdotool mousemove --window "$id" $(((x * 2 + w) * 3 / 4)) $((top + (y * 2 + h) * 13 / 16)) click 1
}
menu_top() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo $((HEIGHT - 471))
}

sleep 1.2
scrot -o -a 400,250,480,300 docs/screenshots/splash.png
sleep 3
main=$(window "$title" 726)
top=$(menu_top "$main")
for pdf in 1-report.pdf 2-archive.pdf; do
  click "$main" "$top" 425 76 57 14  # Browse
  answer " Open Pdf files" "$work/pdfs/$pdf"
done
sleep 1
shoot "$main" main-window

# Without a browser or document viewer on the display, Help opens the program's own window.
click "$main" "$top" 98 1 34 28  # Help
help=$(window "Help - Tarnwick for Adobe PDF")
sleep 1
shoot "$help" help
xdotool key Escape
sleep 0.5
click "$main" "$top" 130 1 34 28  # About Us
about=$(window "About Tarnwick for Adobe PDF")
sleep 0.5
shoot "$about" about
xdotool key Return
sleep 0.5

click "$main" "$top" 425 269 57 14  # Repair
sleep 3
preview=$(window "$title" 726)
shoot "$preview" preview
click "$preview" "$top" 314 247 61 14  # Next File
sleep 1.2
shoot "$(window "$title" 321)" analysis
sleep 5
click "$preview" "$top" 62 3 34 28  # Save All
sleep 1.5
if xdotool search --onlyvisible --name "^Select the Destination Path\$" >/dev/null 2>&1; then
  answer "Select the Destination Path" "$work/saved"
fi
sleep 2
shoot "$(window "$title" 522)" saving
sleep 12
shoot "$(window "$title" 279)" completion
