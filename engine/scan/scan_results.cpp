#include "scan_results.h"

#include <algorithm>

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

bool ScanResults::MayHoldKids(const ObjectRecord& record) const {
  // The scan looks for keywords from kScanStart on; an object that reaches below is read.
  if (record.origin != RecordOrigin::kUnpacked &&
      record.start < static_cast<std::uint64_t>(kScanStart)) {
    return true;
  }
  const auto& keywords =
      record.origin == RecordOrigin::kUnpacked ? unpackedKidsKeywords : kidsKeywords;
  const auto next =
      std::lower_bound(keywords.begin(), keywords.end(), static_cast<std::int64_t>(record.start));
  return next != keywords.end() && *next < static_cast<std::int64_t>(record.end);
}

}  // namespace tarnwick
