#!/usr/bin/env bash
# Installs the 64-bit setup silently in a Wine prefix of the test's own, checks everything it lays
# out and writes, uninstalls it silently and checks that nothing is left. Two rounds:
#  1. the default folder under Program Files; the log folder stays empty, so the uninstaller
#     removes it; uninstalled as Add/Remove Programs would, by its quiet uninstall command;
#  2. a folder given with /D=; a log is written into the log folder, so the uninstaller keeps it;
#     uninstalled from a copy of the uninstaller, which reports its exit status.
#
#   install_under_wine.sh <scripts/wine.sh> <setup.exe> <staged folder> <skin folder> <file>...
# The staged installation must hold the build's skin folder as Bmp, and each file given (a path in
# the program folder).
set -euo pipefail
export WINE_SH="$1"
setup="$2"
stage="$3"
skin="$4"
shift 4
required=("$@")
: "${TARNWICK_WINEPREFIX:?the test runs in a Wine prefix of its own}"
# Wine would otherwise copy the Start-menu shortcut into the host's own menus.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
source "$(dirname "$0")/wine_machine.sh"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

settings_key='HKCR\TWPDF'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick'
desktop_program='tarnwick.exe'
automation_key='HKCR\ZazoRavazu.Application'
program_files="$(windows_variable ProgramFiles)"
local_app_data="$(windows_variable LOCALAPPDATA)"
shell_folders='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
menu_folder="$(registry_value "$shell_folders" 'Common Programs')"
if [ -z "$program_files" ] || [ -z "$local_app_data" ] || [ -z "$menu_folder" ]; then
  echo "The Wine prefix names no Program Files, local application data or Start-menu folder" >&2
  exit 1
fi
default_folder="$program_files\\Tarnwick"
chosen_folder='C:\tarnwick-test\Tarnwick'
log_folder="$local_app_data\\Tarnwick\\Log"
log_parent="$(host_path "$local_app_data\\Tarnwick")"
shortcut="$(host_path "$menu_folder")/Tarnwick for Adobe PDF.lnk"

relative_files() {
  (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
}

# What a failed earlier run may have left, so that each check below sees this run's work only.
remove_leftovers() {
  wine_run reg delete "$settings_key" /f >/dev/null 2>&1 || true
  wine_run reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
  wine_run reg delete "$automation_key" /f >/dev/null 2>&1 || true
  rm -rf "$(host_path "$default_folder")" "$(host_path "$chosen_folder")" "$log_parent" "$shortcut"
}

check_installed() {
  local windows_folder="$1" folder
  folder="$(host_path "$windows_folder")"
  if [ ! -d "$folder" ]; then
    fail "no program folder at $windows_folder"
    return
  fi
  # Exactly the staged files, the same bytes, and the uninstaller.
  local expected actual
  expected="$( (relative_files "$stage"; echo uninstall.exe) | LC_ALL=C sort)"
  actual="$(relative_files "$folder")"
  [ "$expected" = "$actual" ] ||
    fail "files in $windows_folder differ from the staged ones:"$'\n'"$(diff <(echo "$expected") \
      <(echo "$actual"))"
  while IFS= read -r file; do
    [ ! -f "$folder/$file" ] || cmp -s "$stage/$file" "$folder/$file" ||
      fail "$file installed with other content"
  done < <(relative_files "$stage")

  [ "$(registry_value "$settings_key" FilePath)" = "$windows_folder" ] ||
    fail "FilePath is '$(registry_value "$settings_key" FilePath)', not '$windows_folder'"
  [ "$(registry_value "$settings_key" LogPath)" = "$log_folder" ] ||
    fail "LogPath is '$(registry_value "$settings_key" LogPath)', not '$log_folder'"
  [ -d "$(host_path "$log_folder")" ] || fail "no log folder at $log_folder"

  [ "$(registry_value "$uninstall_key" DisplayName)" = "Tarnwick for Adobe PDF" ] ||
    fail "no Add/Remove Programs entry named Tarnwick for Adobe PDF"
  [ "$(registry_value "$uninstall_key" UninstallString)" = "\"$windows_folder\\uninstall.exe\"" ] ||
    fail "the uninstall command is '$(registry_value "$uninstall_key" UninstallString)'"

  if [ -f "$stage/$desktop_program" ]; then
    [ -f "$shortcut" ] || fail "no Start-menu shortcut at $shortcut"
    [ ! -f "$shortcut" ] || grep -aqF "$windows_folder\\$desktop_program" "$shortcut" ||
      fail "the shortcut does not lead to $windows_folder\\$desktop_program"
  else
    [ ! -e "$shortcut" ] || fail "a shortcut to a desktop program that was not installed"
  fi
}

check_removed() {
  local windows_folder="$1"
  [ ! -e "$(host_path "$windows_folder")" ] ||
    fail "left in $windows_folder: $(relative_files "$(host_path "$windows_folder")" | tr '\n' ' ')"
  ! registry_key_exists "$settings_key" || fail "$settings_key is left"
  ! registry_key_exists "$uninstall_key" || fail "$uninstall_key is left"
  ! registry_key_exists "$automation_key" || fail "the desktop program's automation class is left"
  [ ! -e "$shortcut" ] || fail "the Start-menu shortcut is left"
}

for file in "${required[@]}"; do
  [ -f "$stage/$file" ] || fail "the installation does not lay out $file"
done
diff -r "$skin" "$stage/Bmp" >/dev/null ||
  fail "the installation's Bmp folder is not the build's $skin"
remove_leftovers

echo "Round 1: default folder $default_folder"
wine_run "$setup" /S || fail "the setup ended with status $?"
check_installed "$default_folder"
# The programs are linked to need no library beside them: the installed tool starts where it lies.
wine_run "$default_folder\\tarnwick-repair.exe" --version >/dev/null ||
  fail "the installed tarnwick-repair.exe does not start (status $?)"
if [ -f "$stage/$desktop_program" ]; then
  # The desktop program enters its automation class at each start (with /Register, and nothing
  # else); the uninstaller must have it taken out again.
  wine_run "$default_folder\\$desktop_program" /Register ||
    fail "$desktop_program /Register ended with status $?"
  registry_key_exists "$automation_key" ||
    fail "$desktop_program /Register entered no automation class"
fi
quiet_uninstall="$(registry_value "$uninstall_key" QuietUninstallString)"
[ "$quiet_uninstall" = "\"$default_folder\\uninstall.exe\" /S" ] ||
  fail "the quiet uninstall command is '$quiet_uninstall'"
# The uninstaller starts a copy of itself from the temporary folder and returns at once; the copy
# removes the program folder last, so its disappearance is the end of the uninstallation.
wine_run "$default_folder\\uninstall.exe" /S || fail "the uninstaller ended with status $?"
for _ in $(seq 120); do
  [ -e "$(host_path "$default_folder")" ] || break
  sleep 1
done
check_removed "$default_folder"
[ ! -e "$log_parent" ] || fail "the empty log folder is left"

echo "Round 2: chosen folder $chosen_folder"
# /D= must be the last argument and unquoted, which Wine does only for a path without spaces.
wine_run "$setup" /S "/D=$chosen_folder" || fail "the setup ended with status $?"
check_installed "$chosen_folder"
log_file="$(host_path "$log_folder")/Activity Log.txt"
echo "a repaired file" >"$log_file" || fail "no log can be written into the log folder"
# Run from elsewhere with _?=, the uninstaller works in place and returns when it is done.
uninstaller_copy="$(host_path 'C:\windows\temp')/tarnwick-uninstall.exe"
cp "$(host_path "$chosen_folder")/uninstall.exe" "$uninstaller_copy"
wine_run 'C:\windows\temp\tarnwick-uninstall.exe' /S "_?=$chosen_folder" ||
  fail "the uninstaller ended with status $?"
rm -f "$uninstaller_copy"
check_removed "$chosen_folder"
[ "$(cat "$log_file" 2>/dev/null)" = "a repaired file" ] || fail "the user's log was not kept"
rm -rf "$log_parent"
rmdir "$(host_path 'C:\tarnwick-test')" 2>/dev/null || true

if ((failures)); then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "Installed, checked and uninstalled twice"
