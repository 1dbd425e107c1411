#pragma once

#include <cstdint>

namespace tarnwick {

// Where the copy wrote an object, for the cross-reference table.
struct XrefEntry {
  std::int64_t number = 0;
  std::uint64_t offset = 0;  // in the output
  std::uint16_t generation = 0;
};

}  // namespace tarnwick
