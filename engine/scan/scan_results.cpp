#include "scan_results.h"

namespace tarnwick {

std::vector<KidsEntry> ScanResults::KidsList() const {
  std::vector<KidsEntry> entries;
  for (auto array = kidsArrays.rbegin(); array != kidsArrays.rend(); ++array) {
    for (std::size_t i = array->count; i > 0; --i) {
      entries.push_back(
          {static_cast<std::int64_t>(i), kidsReferences[array->first + i - 1].number});
    }
  }
  return entries;
}

}  // namespace tarnwick
