#pragma once

#include <cstdint>

namespace tarnwick {

// The largest object number that PDF readers accept. Numbers outside 1 to this count as no
// number: such objects are copied but get no cross-reference entry and are never listed as pages.
inline constexpr std::int64_t kMaxObjectNumber = 8388607;

inline bool IsListableNumber(std::int64_t number) {
  return number >= 1 && number <= kMaxObjectNumber;
}

}  // namespace tarnwick
