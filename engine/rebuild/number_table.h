#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarnwick {

// Object numbers mapped to indexes of the scan's record list, sorted once and searched by
// halves. A source may hold millions of tiny objects: an entry here takes 16 bytes, where a
// hash map's node and bucket take some 40.
class NumberTable {
 public:
  // For a number added more than once, the first index added is the one kept.
  void Add(std::int64_t number, std::size_t index) { entries_.push_back({number, index}); }
  // Call once, after the last Add and before the first Find.
  void Seal() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.number < b.number; });
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [](const Entry& a, const Entry& b) { return a.number == b.number; }),
                   entries_.end());
    entries_.shrink_to_fit();
  }
  std::optional<std::size_t> Find(std::int64_t number) const {
    const auto found = std::lower_bound(
        entries_.begin(), entries_.end(), number,
        [](const Entry& entry, std::int64_t wanted) { return entry.number < wanted; });
    if (found == entries_.end() || found->number != number) return std::nullopt;
    return found->index;
  }
  bool Contains(std::int64_t number) const { return Find(number).has_value(); }

 private:
  struct Entry {
    std::int64_t number = 0;
    std::size_t index = 0;
  };
  std::vector<Entry> entries_;
};

}  // namespace tarnwick
