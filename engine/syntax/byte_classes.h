#pragma once

namespace tarnwick {

// Classes of source bytes, given as ints so that -1 (no byte: outside the file) is in none.
inline bool IsDigit(int c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigit(int c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
inline bool IsLineEnd(int c) { return c == '\r' || c == '\n'; }
// White space as the C library's number conversion skips it.
inline bool IsCLocaleSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
// White space between PDF tokens.
inline bool IsPdfSpace(int c) {
  return c == 0 || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}
// The bytes that end a PDF token and start the next one.
inline bool IsDelimiter(int c) {
  switch (c) {
    case '(':
    case ')':
    case '<':
    case '>':
    case '[':
    case ']':
    case '{':
    case '}':
    case '/':
    case '%':
      return true;
    default:
      return false;
  }
}
// Bytes of names, numbers and keywords.
inline bool IsRegular(int c) { return c >= 0 && !IsPdfSpace(c) && !IsDelimiter(c); }

}  // namespace tarnwick
