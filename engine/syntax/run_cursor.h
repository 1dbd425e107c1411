#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "byte_classes.h"
#include "literal_string.h"

namespace tarnwick {

// Reads a run of bytes front to back; every test fails past its end.
class RunCursor {
 public:
  RunCursor(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  std::size_t Position() const { return at_; }
  int Peek() const { return at_ < size_ ? bytes_[at_] : -1; }
  bool Take(char expected) {
    if (Peek() != static_cast<unsigned char>(expected)) return false;
    ++at_;
    return true;
  }
  bool TakeWord(std::string_view word) {
    for (const char c : word) {
      if (!Take(c)) return false;
    }
    return true;
  }
  std::size_t SkipWhile(bool (*keep)(int)) {
    const std::size_t from = at_;
    while (at_ < size_ && keep(bytes_[at_])) ++at_;
    return at_ - from;
  }
  // A string of an identifier: "<" hexadecimal digits and white space ">", or "(" up to the
  // ")" that balances it, a backslash escaping the next byte.
  bool TakeString() {
    if (Take('<')) {
      while (IsHexDigit(Peek()) || IsPdfSpace(Peek())) ++at_;
      return Take('>');
    }
    if (Peek() != '(') return false;
    const std::int64_t end = LiteralStringEnd(
        static_cast<std::int64_t>(at_),
        [this](std::int64_t i) { return i < static_cast<std::int64_t>(size_) ? bytes_[i] : -1; });
    if (end < 0) return false;
    at_ = static_cast<std::size_t>(end);
    return true;
  }

 private:
  const std::uint8_t* bytes_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace tarnwick
