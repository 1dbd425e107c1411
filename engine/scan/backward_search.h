#pragma once

#include <cstdint>

namespace tarnwick {

// The nearest offset at or below `from`, and not below a fixed floor, where a test on the source
// holds. The scan meets its keywords front to back, so the walks that start from them mostly move
// forwards: the last answer is kept, and a later query searches only the bytes above the last
// query. A file full of keywords with nothing to find behind them then costs one pass, not one
// pass per keyword. The test must depend on the offset alone.
class BackwardSearch {
 public:
  static constexpr std::int64_t kNone = -1;

  explicit BackwardSearch(std::int64_t floor) : floor_(floor) {}

  template <typename Test>
  std::int64_t Find(std::int64_t from, Test test) {
    if (from < floor_) return kNone;
    std::int64_t stop = floor_ - 1;
    std::int64_t found = kNone;
    const bool extendsLast = known_ && from >= lastFrom_;
    if (extendsLast) {
      stop = lastFrom_;
      found = lastFound_;
    } else if (known_ && lastFound_ <= from) {
      return lastFound_;  // nothing matches between the last answer and the last query
    }
    for (std::int64_t at = from; at > stop; --at) {
      if (test(at)) {
        found = at;
        break;
      }
    }
    if (extendsLast || !known_) {
      known_ = true;
      lastFrom_ = from;
      lastFound_ = found;
    }
    return found;
  }

 private:
  std::int64_t floor_;
  bool known_ = false;
  std::int64_t lastFrom_ = 0;
  std::int64_t lastFound_ = kNone;
};

}  // namespace tarnwick
