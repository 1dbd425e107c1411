#!/usr/bin/env bash
# The whole desktop program under Wine: the driver plays the user of the real tarnwick.exe (two
# damaged PDFs picked, repaired, previewed, saved into a folder); this side then checks what it
# saw, the saved copies with qpdf, the activity log and the work folder.
#
#   end_to_end.sh <scripts/wine.sh> <end_to_end_driver.exe> <tarnwick.exe> <program folder>
set -euo pipefail
wine_sh="$1"
driver="$2"
program="$3"
program_folder="$4"
test_folder="$(mktemp -d)"
trap 'rm -rf "$test_folder"' EXIT
mkdir -p "$test_folder"/{sources,saved,log,tmp}
# Wine shows the machine's root as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

status=0
transcript="$("$wine_sh" "$driver" "$(windows_path "$program")" \
  "$(windows_path "$program_folder")" "$(windows_path "$test_folder")" | tr -d '\r' |
  # Each repair's work folder is named after the time it began.
  sed -E 's/\\[0-9]+(-[0-9]+){5}\\/\\<time>\\/')" || status=$?
printf '%s\n' "$transcript"
[ "$status" -eq 0 ] || fail "the driver ended with $status"

first='<test>\sources\first.pdf'
second='<test>\sources\second.pdf'
expected="main window:  Tarnwick for Adobe PDF
open dialog:  Open Pdf files
rows: $first | $second
main window hidden
preview: 1 of 2, $first, pane: <test>\\tmp\\tarnwick\\<time>\\first.pdf
preview: 2 of 2, $second, pane: <test>\\tmp\\tarnwick\\<time>\\second.pdf
folder browser: Select the Destination Path
saving into: <test>\\saved
completion:  Tarnwick for Adobe PDF, preview hidden
program ended: 0"
diff <(printf '%s\n' "$expected") <(printf '%s\n' "$transcript") >&2 || fail "the run differs from the expected one"

# The saved copies are whole PDFs with the sources' pages.
for copy in first.pdf:2 second.pdf:3; do
  saved="$test_folder/saved/${copy%:*}"
  qpdf --check "$saved" >/dev/null 2>&1 || fail "$saved does not pass qpdf --check"
  pages="$(qpdf --show-npages "$saved" 2>/dev/null || true)"
  [ "$pages" = "${copy#*:}" ] || fail "$saved has ${pages:-no} pages, not ${copy#*:}"
done

sources="$(windows_path "$test_folder")\\sources"
expected_log="1-   $sources\\first.pdf"$'\r\n'"2-   $sources\\second.pdf"$'\r\n\r\n\r\n'
expected_log+="******************* Repairing Completed successfully***********************************"
log="$(cat "$test_folder/log/Activity Log.txt" 2>/dev/null || true)"
[ "$log" = "$expected_log" ] || fail "the activity log reads: $(printf '%q' "$log")"

left="$(find "$test_folder/tmp" -type f)"
[ -z "$left" ] || fail "work files were left: $left"

exit $((failures > 0))
