#include "string_ends.h"

#include <algorithm>

#include "literal_string.h"

namespace tarnwick {

std::int64_t StringEnds::AfterHexString(std::int64_t open) {
  const std::int64_t length = source_.Length();
  // The answer for an earlier opening still holds when no '>' lies between the two.
  if (!(hexQuery_ >= 0 && open >= hexQuery_ && open < hexEnd_ - 1)) {
    std::int64_t at = open + 1;
    while (at < length && source_.ByteAt(at) != '>') ++at;
    hexEnd_ = std::min(at + 1, length);
  }
  hexQuery_ = open;
  return hexEnd_;
}

std::int64_t StringEnds::AfterLiteralString(std::int64_t open) {
  if (!passStarted_) {
    passStarted_ = true;
    passAt_ = open;
  }
  ReadUpTo(open);
  const auto known = std::lower_bound(opens_.begin(), opens_.end(), open);
  // A '(' before the pass, or one the pass read as escaped, gets a scan of its own.
  if (passGivenUp_ || known == opens_.end() || *known != open) return ScanLiteralString(open);
  const auto index = static_cast<std::size_t>(known - opens_.begin());
  while (ends_[index] < 0 && passAt_ < source_.Length() && !passGivenUp_) ReadByte();
  if (passGivenUp_) return ScanLiteralString(open);
  return ends_[index] >= 0 ? ends_[index] : source_.Length();
}

void StringEnds::ReadUpTo(std::int64_t position) {
  while (passAt_ <= position && passAt_ < source_.Length() && !passGivenUp_) ReadByte();
}

void StringEnds::ReadByte() {
  const int c = source_.ByteAt(passAt_);
  if (c == '\\') {
    passAt_ += 2;
    return;
  }
  if (c == '(') {
    if (opens_.size() == limits::kMaxTrackedParentheses) {
      passGivenUp_ = true;
      opens_ = {};
      ends_ = {};
      stack_ = {};
      return;
    }
    stack_.push_back(opens_.size());
    opens_.push_back(passAt_);
    ends_.push_back(-1);
  } else if (c == ')' && !stack_.empty()) {
    ends_[stack_.back()] = passAt_ + 1;
    stack_.pop_back();
  }
  ++passAt_;
}

std::int64_t StringEnds::ScanLiteralString(std::int64_t open) {
  const std::int64_t end =
      LiteralStringEnd(open, [this](std::int64_t at) { return source_.ByteAt(at); });
  return end < 0 ? source_.Length() : end;
}

}  // namespace tarnwick
