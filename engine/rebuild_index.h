#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "pdf_repair.h"

namespace tarnwick {

// What an old page-tree node hands down: the raw values of /Resources, /MediaBox, /CropBox and
// /Rotate (empty when the node has none), and its own parent's number.
struct PDF_Repair::TreeNode {
  std::array<std::string, 4> attributes;
  std::int64_t parent = 0;
};

// Lookups the rebuild pass makes once per object or page, answered from hash tables built once
// per job, and the page checks remembered per object number.
struct PDF_Repair::RebuildIndex {
  std::unordered_set<std::int64_t> pageNumbers;
  // Indexes into the object list, newest record first, per object number.
  std::unordered_map<std::int64_t, std::vector<std::size_t>> recordsByNumber;
  // Per object number: how many of its records have all the content streams they name.
  std::unordered_map<std::int64_t, std::int64_t> passingRecords;
  // The old page-tree nodes read for inherited attributes, per object number.
  std::unordered_map<std::int64_t, TreeNode> treeNodes;
  // How many bytes of inherited attributes the pages may still be given.
  std::size_t inheritedBytesLeft = 0;

  explicit RebuildIndex(const ScanResults& results) {
    for (std::size_t i = results.objects.size(); i > 0; --i) {
      const std::int64_t number = results.objects[i - 1].number;
      recordsByNumber[number].push_back(i - 1);
    }
    pageNumbers.insert(results.pages.begin(), results.pages.end());
    inheritedBytesLeft = kInheritedBudgetFloor + 2 * results.sourceLength;
  }

  static constexpr std::size_t kInheritedBudgetFloor = 64 << 20;
};

}  // namespace tarnwick
