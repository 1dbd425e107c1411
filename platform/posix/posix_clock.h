#pragma once

#include "file_layer.h"

namespace tarnwick {

class PosixClock final : public Clock {
 public:
  LocalTime Now() override;
};

}  // namespace tarnwick
