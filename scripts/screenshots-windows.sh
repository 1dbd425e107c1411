#!/usr/bin/env bash
# Takes the README's Windows screenshots of the real desktop program under Wine on a virtual
# display: the main window with two PDFs picked (a large empty file and a damaged sample), and the
# analysis dialog at work on the large one, which keeps it up for a moment. A poser program drives
# the windows and copies the screen under them; the pictures land in docs/screenshots/ as PNG.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset windows-x64 >/dev/null
cmake --build build/windows-x64 --target tarnwick screenshot_poser >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{sources,log,tmp,shots} docs/screenshots
truncate -s 1G "$work/sources/1-archive.pdf"  # sparse: costs no disk, takes seconds to scan
cp res/samples/damaged-sample.pdf "$work/sources/2-report.pdf"
# Wine shows the machine's root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

xvfb-run -a -s "-screen 0 1280x800x24" scripts/wine.sh \
  build/windows-x64/tests/ui/win32/screenshot_poser.exe \
  "$(windows_path "$PWD/build/windows-x64/ui/win32/tarnwick.exe")" \
  "$(windows_path "$PWD/build/windows-x64")" "$(windows_path "$work")" \
  "$(windows_path "$work/shots")" \
  "$(windows_path "$work/sources/1-archive.pdf")" "$(windows_path "$work/sources/2-report.pdf")"
for shot in windows-main-window windows-analysis; do
  convert "$work/shots/$shot.bmp" "docs/screenshots/$shot.png"
  echo "docs/screenshots/$shot.png"
done
