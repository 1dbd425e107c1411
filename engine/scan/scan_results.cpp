#include "scan_results.h"

#include <algorithm>

namespace tarnwick {

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
