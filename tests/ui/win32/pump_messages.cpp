#include "pump_messages.h"

#include <windows.h>

#include "message_pump.h"

namespace tarnwick::test {

bool PumpUntil(const std::function<bool()>& done, int timeoutMilliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMilliseconds);
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      win32::DispatchWindowMessage(message);
    }
  }
  return true;
}

}  // namespace tarnwick::test
