#pragma once

#include <cstdint>
#include <vector>

#include "repair_outcome.h"
#include "scan_index.h"

namespace tarnwick {

// The page tree the source's catalog names, as it stood: its leaves in the document's order.
struct OldPageTree {
  PageTreeState state = PageTreeState::kIntact;
  // Per position in the tree, from 1: the page's number, or 0 for a kid that was lost.
  std::vector<std::int64_t> leaves;
  // What the root's /Count claims, when it is a number.
  std::uint64_t count = 0;
  // The pages the tree holds: its leaves, or its /Count when that says more.
  std::uint64_t Pages() const { return std::max<std::uint64_t>(leaves.size(), count); }
};

// Walks the tree from the catalog `root` names (none found: nothing to judge), never deeper than
// kMaxTreeLevels and through each node once. A kid that names a lost object, a node met twice,
// one too deep, or a /Count above the leaves found make the tree broken.
OldPageTree ReadOldPageTree(ScanIndex& index, std::int64_t root);

}  // namespace tarnwick
