#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "console.h"

namespace tarnwick {

namespace {

bool ConsoleMode(DWORD standardHandle, DWORD& mode) {
  return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

}  // namespace

// Printed paths are UTF-8 and lines end with a bare LF, as on every other system: a console
// shows them in that code page, and a pipe or file receives the same bytes as on POSIX.
void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  DWORD mode = 0;
  if (ConsoleMode(STD_ERROR_HANDLE, mode)) {
    SetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
  }
}

// The progress line is redrawn with escape sequences: a console too old to draw them gets none.
bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return ConsoleMode(STD_ERROR_HANDLE, mode) && (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return ConsoleMode(STD_INPUT_HANDLE, mode);
}

}  // namespace tarnwick
