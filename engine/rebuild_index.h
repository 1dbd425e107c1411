#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "pdf_repair.h"

namespace tarnwick {

// Lookups the rebuild pass makes once per object or page, answered from hash tables built once
// per job, and the page checks remembered per object record.
struct PDF_Repair::RebuildIndex {
  std::unordered_set<std::int64_t> tableNumbers;
  std::unordered_set<std::int64_t> pageNumbers;
  // Indexes into the object list, newest record first, per object number.
  std::unordered_map<std::int64_t, std::vector<std::size_t>> recordsByNumber;
  enum class Check : std::uint8_t { kUnknown, kPresent, kMissing };
  std::vector<Check> contentsChecked;  // per object record

  explicit RebuildIndex(const ScanResults& results) : contentsChecked(results.objects.size()) {
    for (std::size_t i = results.objects.size(); i > 0; --i) {
      const std::int64_t number = results.objects[i - 1].number;
      tableNumbers.insert(number);
      recordsByNumber[number].push_back(i - 1);
    }
    pageNumbers.insert(results.pages.begin(), results.pages.end());
  }
};

}  // namespace tarnwick
