#include <windows.h>

#include "interruption.h"

namespace tarnwick::cli {

namespace {

Interruption* installed = nullptr;

// The system calls this on a thread of its own, where the interruption may take locks. Ctrl+C
// and Ctrl+Break are handled; closing the console still ends the process as it would.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  installed->Interrupt();
  return TRUE;
}

}  // namespace

Interruption& Interruption::Install() {
  static Interruption* instance = [] {
    installed = new Interruption;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    return installed;
  }();
  return *instance;
}

}  // namespace tarnwick::cli
