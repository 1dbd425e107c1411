#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarnwick {

// Object numbers mapped to indexes of the scan's record list, in a slot per number or sorted
// once and searched by halves. A source may hold millions of tiny objects: an entry here takes
// at most 16 bytes, where a hash map's node and bucket take some 40.
class NumberTable {
 public:
  // For a number added more than once, the first index added is the one kept.
  void Add(std::int64_t number, std::size_t index) { entries_.push_back({number, index}); }
  // Call once, after the last Add and before the first Find.
  void Seal() {
    // Most sources number their objects from 1 up with few gaps. Then a slot per number finds
    // an index in one step, and takes no more room than the sorted list would.
    if (!entries_.empty()) {
      const auto [lowest, highest] = std::minmax_element(
          entries_.begin(), entries_.end(),
          [](const Entry& a, const Entry& b) { return a.number < b.number; });
      if (lowest->number >= 0 &&
          static_cast<std::uint64_t>(highest->number) < 2 * entries_.size() + kSlotSlack) {
        slots_.assign(static_cast<std::size_t>(highest->number) + 1, kNoIndex);
        for (const Entry& entry : entries_) {
          std::size_t& slot = slots_[static_cast<std::size_t>(entry.number)];
          if (slot == kNoIndex) slot = entry.index;
        }
        entries_.clear();
        entries_.shrink_to_fit();
        return;
      }
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.number < b.number; });
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [](const Entry& a, const Entry& b) { return a.number == b.number; }),
                   entries_.end());
    entries_.shrink_to_fit();
  }
  std::optional<std::size_t> Find(std::int64_t number) const {
    if (!slots_.empty()) {
      if (number < 0 || static_cast<std::uint64_t>(number) >= slots_.size()) return std::nullopt;
      const std::size_t index = slots_[static_cast<std::size_t>(number)];
      if (index == kNoIndex) return std::nullopt;
      return index;
    }
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
  static constexpr std::size_t kNoIndex = static_cast<std::size_t>(-1);
  static constexpr std::uint64_t kSlotSlack = 1024;  // small tables take slots whatever the gaps
  std::vector<Entry> entries_;  // sorted by number, when the numbers are too sparse for slots
  std::vector<std::size_t> slots_;  // per number from 0: its index, or kNoIndex
};

}  // namespace tarnwick
