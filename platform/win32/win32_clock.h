#pragma once

#include "file_layer.h"

namespace tarnwick {

// The local time (GetLocalTime).
class Win32Clock final : public Clock {
 public:
  LocalTime Now() override;
};

}  // namespace tarnwick
