#include "content_prefix.h"

#include "byte_classes.h"

namespace tarnwick {

namespace {

bool IsContentSpace(int c) { return IsPdfSpace(c); }

}  // namespace

std::span<const std::uint8_t> ReadableContentPrefix(std::span<const std::uint8_t> text) {
  const std::size_t size = text.size();
  std::size_t lastLineEnd = 0;
  std::size_t lastSpace = 0;
  int nesting = 0;  // arrays and dictionaries open
  std::size_t at = 0;
  auto anomaly = [&] { return std::span(text.data(), lastLineEnd ? lastLineEnd : lastSpace); };
  while (at < size) {
    const std::uint8_t c = text[at];
    if (c == '(') {
      int depth = 0;
      for (; at < size; ++at) {
        if (text[at] == '\\') {
          ++at;
        } else if (text[at] == '(') {
          ++depth;
        } else if (text[at] == ')' && --depth == 0) {
          break;
        }
      }
      if (at >= size) return anomaly();
      ++at;
    } else if (c == '<' && at + 1 < size && text[at + 1] == '<') {
      ++nesting;
      at += 2;
    } else if (c == '>' && at + 1 < size && text[at + 1] == '>') {
      if (--nesting < 0) return anomaly();
      at += 2;
    } else if (c == '<') {
      for (++at; at < size && text[at] != '>'; ++at) {
        if (!IsHexDigit(text[at]) && !IsContentSpace(text[at])) return anomaly();
      }
      if (at >= size) return anomaly();
      ++at;
    } else if (c == '[') {
      ++nesting;
      ++at;
    } else if (c == ']') {
      if (--nesting < 0) return anomaly();
      ++at;
    } else if (c == ')' || c == '>' || c == '{' || c == '}') {
      return anomaly();
    } else if (c == '%') {
      while (at < size && !IsLineEnd(text[at])) ++at;
    } else if (c == 'I' && at + 2 < size && text[at + 1] == 'D' && IsContentSpace(text[at + 2]) &&
               (at == 0 || IsContentSpace(text[at - 1]))) {
      // Inline image data is binary up to an "EI" between white space.
      std::size_t end = at + 3;
      while (end + 2 < size && !(IsContentSpace(text[end - 1]) && text[end] == 'E' &&
                                 text[end + 1] == 'I' && IsContentSpace(text[end + 2]))) {
        ++end;
      }
      if (end + 2 >= size) return anomaly();
      at = end + 2;
    } else if (IsContentSpace(c)) {
      if (nesting == 0) {
        if (IsLineEnd(c)) lastLineEnd = at + 1;
        lastSpace = at + 1;
      }
      ++at;
    } else if (c < 0x20 || c >= 0x7F) {
      return anomaly();
    } else {
      ++at;
    }
  }
  return anomaly();
}

}  // namespace tarnwick
