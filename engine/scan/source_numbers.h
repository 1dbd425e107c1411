#pragma once

#include <cstdint>

#include "source_reader.h"

namespace tarnwick {

// The number in the bytes from `first` to `last` of `reader`, as ParseDecimal reads it; only the
// first 1024 bytes of the run are looked at.
std::int32_t ParseSourceRun(SourceReader& reader, std::int64_t first, std::int64_t last);

}  // namespace tarnwick
