#include <windows.h>

#include "interruptions.h"

namespace tarnwick {

namespace {

// Never destroyed: the system may call the handler while the process ends.
std::function<void()>* installed = nullptr;

// The system calls this on a thread of its own. Ctrl+C and Ctrl+Break are handled; closing the
// console still ends the process as it would.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  (*installed)();
  return TRUE;
}

}  // namespace

void OnInterruption(std::function<void()> interrupt) {
  installed = new std::function<void()>(std::move(interrupt));
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

}  // namespace tarnwick
