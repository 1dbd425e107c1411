#!/usr/bin/env bash
# Checks a setup without running it, for the architecture that no Wine here can run: unpacked with
# 7-Zip, it must hold exactly the staged files with the same bytes, plus its uninstaller and its
# own plug-ins (under $PLUGINSDIR); the setup and every program and library in it must be built for
# the given machine. Ends with 77 when there is no setup.
#
#   check_setup_contents.sh <objdump> <setup.exe> <staged folder> <object format, e.g. pei-i386>
set -euo pipefail
objdump="$1"
setup="$2"
stage="$3"
format="$4"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

relative_files() {
  (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
}

object_format() {
  "$objdump" -f "$1" | sed -n 's/.*file format //p'
}

if [ ! -f "$setup" ]; then
  echo "No setup at $setup" >&2
  exit 77
fi
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
7z x -y -o"$unpacked" "$setup" >/dev/null

expected="$( (relative_files "$stage"; echo uninstall.exe) | LC_ALL=C sort)"
actual="$(relative_files "$unpacked" | grep -v '^\$PLUGINSDIR/')"
[ "$expected" = "$actual" ] ||
  fail "the setup's files differ from the staged ones:"$'\n'"$(diff <(echo "$expected") \
    <(echo "$actual"))"
while IFS= read -r file; do
  [ ! -f "$unpacked/$file" ] || cmp -s "$stage/$file" "$unpacked/$file" ||
    fail "$file packed with other content"
done < <(relative_files "$stage")

[ "$(object_format "$setup")" = "$format" ] ||
  fail "the setup is $(object_format "$setup"), not $format"
while IFS= read -r binary; do
  [ "$(object_format "$unpacked/$binary")" = "$format" ] ||
    fail "$binary is $(object_format "$unpacked/$binary"), not $format"
done < <(relative_files "$unpacked" | grep -i '\.\(exe\|dll\)$')

if ((failures)); then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "$setup: $(grep -ci '\.exe$' <<<"$actual") programs and $(wc -l <<<"$actual") files," \
  "all as staged, all $format"
