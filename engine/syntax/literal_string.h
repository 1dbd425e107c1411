#pragma once

#include <cstdint>

namespace tarnwick {

// The offset after the ')' that closes the literal string whose '(' stands at `open`:
// parentheses nest and a backslash escapes the byte after it. -1 when `byteAt` runs out first
// (gives a negative value).
template <typename ByteAt>
std::int64_t LiteralStringEnd(std::int64_t open, ByteAt byteAt) {
  std::int64_t depth = 0;
  for (std::int64_t at = open;; ++at) {
    const int c = byteAt(at);
    if (c < 0) return -1;
    if (c == '\\') {
      ++at;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return at + 1;
    }
  }
}

}  // namespace tarnwick
