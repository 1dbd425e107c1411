# Shell functions for looking at a Wine prefix from outside: run a program in it, read a registry
# value, turn a Windows path into the host's. Sourced by the installer's test; expects WINE_SH,
# the project's scripts/wine.sh, and TARNWICK_WINEPREFIX.

wine_run() {
  "$WINE_SH" "$@"
}

# The string value $2 of key $1, or nothing (and status 1) when the key or value is missing.
registry_value() {
  local output
  output="$(wine_run reg query "$1" /v "$2" 2>/dev/null)" || return 1
  printf '%s\n' "$output" | tr -d '\r' | sed -n "s/^    $2    REG_[A-Z_]*    //p"
}

registry_key_exists() {
  wine_run reg query "$1" >/dev/null 2>&1
}

# A Windows environment variable as the Windows side sees it.
windows_variable() {
  wine_run cmd /c echo "%$1%" | tr -d '\r'
}

host_path() {
  wine_run winepath -u "$1" | tr -d '\r'
}
