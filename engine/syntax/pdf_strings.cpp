#include "pdf_strings.h"

#include <algorithm>

#include "byte_classes.h"
#include "literal_string.h"

namespace tarnwick {

namespace {

int HexValue(int c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

int OctalDigit(int c) { return c >= '0' && c <= '7' ? c - '0' : -1; }

std::vector<std::uint8_t> LiteralBytes(std::span<const std::uint8_t> token) {
  std::vector<std::uint8_t> out;
  const std::size_t end = token.size() - 1;  // the closing parenthesis
  for (std::size_t i = 1; i < end; ++i) {
    const std::uint8_t c = token[i];
    if (c == '\r') {
      // A line end inside a string is one LF, whichever bytes the producer wrote.
      out.push_back('\n');
      if (i + 1 < end && token[i + 1] == '\n') ++i;
      continue;
    }
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (++i >= end) break;
    const std::uint8_t escaped = token[i];
    switch (escaped) {
      case 'n':
        out.push_back('\n');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'b':
        out.push_back('\b');
        break;
      case 'f':
        out.push_back('\f');
        break;
      case '\r':  // a backslash before a line end continues the string on the next line
        if (i + 1 < end && token[i + 1] == '\n') ++i;
        break;
      case '\n':
        break;
      default:
        if (OctalDigit(escaped) < 0) {
          out.push_back(escaped);  // \( \) \\ and unknown escapes stand for the byte itself
          break;
        }
        int value = OctalDigit(escaped);
        for (int digits = 1; digits < 3 && i + 1 < end && OctalDigit(token[i + 1]) >= 0; ++digits) {
          value = value * 8 + OctalDigit(token[++i]);
        }
        out.push_back(static_cast<std::uint8_t>(value));
    }
  }
  return out;
}

std::vector<std::uint8_t> HexBytes(std::span<const std::uint8_t> token) {
  std::vector<std::uint8_t> out;
  int high = -1;
  for (const std::uint8_t c : token.subspan(1)) {
    if (c == '>') break;
    if (!IsHexDigit(c)) continue;
    if (high < 0) {
      high = HexValue(c);
    } else {
      out.push_back(static_cast<std::uint8_t>(high * 16 + HexValue(c)));
      high = -1;
    }
  }
  if (high >= 0) out.push_back(static_cast<std::uint8_t>(high * 16));
  return out;
}

void AppendHexString(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back('<');
  for (const std::uint8_t b : bytes) {
    out.push_back(static_cast<std::uint8_t>(kDigits[b >> 4]));
    out.push_back(static_cast<std::uint8_t>(kDigits[b & 15]));
  }
  out.push_back('>');
}

}  // namespace

std::vector<std::uint8_t> StringBytes(std::span<const std::uint8_t> token) {
  if (token.size() < 2) return {};
  return token[0] == '(' ? LiteralBytes(token) : HexBytes(token);
}

std::vector<std::uint8_t> TransformStrings(
    std::span<const std::uint8_t> object,
    const std::function<std::vector<std::uint8_t>(std::span<const std::uint8_t>)>& transform) {
  std::vector<std::uint8_t> out;
  out.reserve(object.size());
  const std::size_t size = object.size();
  auto byteAt = [&](std::int64_t at) {
    return at < static_cast<std::int64_t>(size) ? object[static_cast<std::size_t>(at)] : -1;
  };
  for (std::size_t at = 0; at < size;) {
    const std::uint8_t c = object[at];
    std::size_t end = at + 1;
    if (c == '%') {
      while (end < size && !IsLineEnd(object[end])) ++end;  // a comment holds no string
    } else if (c == '<' && end < size && object[end] == '<') {
      ++end;
    } else if (c == '<' || c == '(') {
      if (c == '<') {
        while (end < size && object[end] != '>') ++end;
        end = std::min(end + 1, size);
      } else {
        const std::int64_t close = LiteralStringEnd(static_cast<std::int64_t>(at), byteAt);
        end = close < 0 ? size : static_cast<std::size_t>(close);
      }
      AppendHexString(out, transform(StringBytes(object.subspan(at, end - at))));
      at = end;
      continue;
    }
    out.insert(out.end(), object.begin() + static_cast<std::ptrdiff_t>(at),
               object.begin() + static_cast<std::ptrdiff_t>(end));
    at = end;
  }
  return out;
}

}  // namespace tarnwick
