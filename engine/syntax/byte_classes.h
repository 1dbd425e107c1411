#pragma once

#include <array>

namespace tarnwick {

// Classes of source bytes, given as ints so that -1 (no byte: outside the file) is in none.
inline bool IsDigit(int c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigit(int c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
inline bool IsLineEnd(int c) { return c == '\r' || c == '\n'; }
// White space as the C library's number conversion skips it.
inline bool IsCLocaleSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
namespace byte_class_table {

// The token classes of the 256 byte values, looked up once per byte where the walks over names,
// numbers and white space spend most of their time.
inline constexpr unsigned char kSpace = 1;
inline constexpr unsigned char kDelimiter = 2;

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> classes{};
  for (const char c : {'\0', '\t', '\n', '\f', '\r', ' '}) {
    classes[static_cast<unsigned char>(c)] = kSpace;
  }
  for (const char c : {'(', ')', '<', '>', '[', ']', '{', '}', '/', '%'}) {
    classes[static_cast<unsigned char>(c)] = kDelimiter;
  }
  return classes;
}
inline constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

}  // namespace byte_class_table

// White space between PDF tokens: NUL, tab, LF, FF, CR and the space.
inline bool IsPdfSpace(int c) {
  return static_cast<unsigned>(c) < 256 &&
         byte_class_table::kClasses[static_cast<unsigned>(c)] == byte_class_table::kSpace;
}
// The bytes that end a PDF token and start the next one: ( ) < > [ ] { } / %.
inline bool IsDelimiter(int c) {
  return static_cast<unsigned>(c) < 256 &&
         byte_class_table::kClasses[static_cast<unsigned>(c)] == byte_class_table::kDelimiter;
}
// Bytes of names, numbers and keywords.
inline bool IsRegular(int c) {
  return c >= 0 && (c > 255 || byte_class_table::kClasses[static_cast<unsigned>(c)] == 0);
}

}  // namespace tarnwick
