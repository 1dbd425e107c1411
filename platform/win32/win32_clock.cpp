#include "win32_clock.h"

#include <windows.h>

namespace tarnwick {

LocalTime Win32Clock::Now() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond, now.wDay, now.wMonth, now.wYear};
}

}  // namespace tarnwick
