#pragma once

#include <cstdint>
#include <optional>

#include "scan_results.h"

namespace tarnwick {

// What the rebuild pass decided for the repaired file.
struct RebuildSummary {
  std::uint64_t newPagesNumber = 0;
  // The trailer record the rebuild made itself when the source had no usable trailer.
  std::optional<TrailerRecord> fallbackTrailer;
  // The trailer record in force, its Root being the number the new Catalog took.
  TrailerRecord trailer;
};

}  // namespace tarnwick
