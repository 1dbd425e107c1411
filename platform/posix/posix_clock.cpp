#include "posix_clock.h"

#include <ctime>

namespace tarnwick {

LocalTime PosixClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_hour, parts.tm_min,     parts.tm_sec,
          parts.tm_mday, parts.tm_mon + 1, parts.tm_year + 1900};
}

}  // namespace tarnwick
