#include "content_prefix.h"

#include <zlib.h>

#include <array>
#include <optional>

#include "byte_classes.h"

namespace tarnwick {

namespace {

// The end of the token that starts at `at`, or nothing when it cannot stand in content there.
// `nesting` counts the arrays and dictionaries open.
std::optional<std::size_t> TokenEnd(std::span<const std::uint8_t> text, std::size_t at,
                                    int& nesting) {
  const std::size_t size = text.size();
  const std::uint8_t c = text[at];
  if (c == '(') {
    int depth = 0;
    for (; at < size; ++at) {
      if (text[at] == '\\') {
        ++at;
      } else if (text[at] == '(') {
        ++depth;
      } else if (text[at] == ')' && --depth == 0) {
        return at + 1;
      }
    }
    return std::nullopt;
  }
  if (c == '<' && at + 1 < size && text[at + 1] == '<') {
    ++nesting;
    return at + 2;
  }
  if (c == '>' && at + 1 < size && text[at + 1] == '>') {
    if (--nesting < 0) return std::nullopt;
    return at + 2;
  }
  if (c == '<') {
    for (++at; at < size && text[at] != '>'; ++at) {
      if (!IsHexDigit(text[at]) && !IsPdfSpace(text[at])) return std::nullopt;
    }
    if (at >= size) return std::nullopt;
    return at + 1;
  }
  if (c == '[') {
    ++nesting;
    return at + 1;
  }
  if (c == ']') {
    if (--nesting < 0) return std::nullopt;
    return at + 1;
  }
  if (c == ')' || c == '>' || c == '{' || c == '}') return std::nullopt;
  if (c == '%') {
    while (at < size && !IsLineEnd(text[at])) ++at;
    return at;
  }
  if (c == 'I' && at + 2 < size && text[at + 1] == 'D' && IsPdfSpace(text[at + 2]) &&
      (at == 0 || IsPdfSpace(text[at - 1]))) {
    // Inline image data is binary up to an "EI" between white space.
    for (std::size_t end = at + 3; end + 2 < size; ++end) {
      if (IsPdfSpace(text[end - 1]) && text[end] == 'E' && text[end + 1] == 'I' &&
          IsPdfSpace(text[end + 2])) {
        return end + 2;
      }
    }
    return std::nullopt;
  }
  if (!IsPdfSpace(c) && (c < 0x20 || c >= 0x7F)) return std::nullopt;
  if (IsDigit(c) && (at == 0 || (!IsDigit(text[at - 1]) && text[at - 1] != '.'))) {
    // An integer beyond 64 bits is no number to a reader: flipped bytes in digits make them.
    constexpr std::size_t kMaxIntegerDigits = 18;
    std::size_t end = at;
    while (end < size && IsDigit(text[end])) ++end;
    if (end - at > kMaxIntegerDigits && (end == size || text[end] != '.')) return std::nullopt;
  }
  return at + 1;
}

}  // namespace

std::vector<std::uint8_t> ReadableContent(std::span<const std::uint8_t> text) {
  const std::size_t size = text.size();
  std::vector<std::uint8_t> kept;
  std::size_t keptClean = 0;  // how much of `kept` ends at a line end outside any container
  std::size_t lineStart = 0;
  int lineNesting = 0;
  int nesting = 0;
  bool anomalySeen = false;
  std::size_t lastSpace = 0;  // before the first anomaly, outside any container
  for (std::size_t at = 0; at < size;) {
    const std::optional<std::size_t> end = TokenEnd(text, at, nesting);
    if (!end) {
      // The line is left out; the next one starts from the state this one started from.
      anomalySeen = true;
      nesting = lineNesting;
      while (at < size && !IsLineEnd(text[at])) ++at;
      lineStart = at;
      continue;
    }
    if (IsPdfSpace(text[at]) && nesting == 0 && !anomalySeen) lastSpace = at + 1;
    if (IsLineEnd(text[at])) {
      kept.insert(kept.end(), text.begin() + static_cast<std::ptrdiff_t>(lineStart),
                  text.begin() + static_cast<std::ptrdiff_t>(at + 1));
      if (nesting == 0) keptClean = kept.size();
      lineStart = at + 1;
      lineNesting = nesting;
    }
    at = *end;
  }
  kept.resize(keptClean);
  bool anyLineEnd = false;
  for (const std::uint8_t b : text) anyLineEnd = anyLineEnd || IsLineEnd(b);
  if (!anyLineEnd) return {text.begin(), text.begin() + static_cast<std::ptrdiff_t>(lastSpace)};
  return kept;
}

namespace {
constexpr std::size_t kDeflatePiece = 64 * 1024;
}  // namespace

// The text deflated as compress2 does it, appended piece by piece rather than into a buffer of
// the worst-case size made up front.
std::vector<std::uint8_t> Deflated(std::span<const std::uint8_t> text) {
  z_stream z{};
  if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK) return {};
  z.next_in = const_cast<Bytef*>(text.data());
  z.avail_in = static_cast<uInt>(text.size());
  std::vector<std::uint8_t> out;
  std::array<std::uint8_t, kDeflatePiece> piece;
  int status = Z_OK;
  while (status == Z_OK) {
    z.next_out = piece.data();
    z.avail_out = static_cast<uInt>(piece.size());
    status = deflate(&z, Z_FINISH);
    out.insert(out.end(), piece.begin(), piece.end() - z.avail_out);
  }
  deflateEnd(&z);
  if (status != Z_STREAM_END) return {};
  return out;
}

}  // namespace tarnwick
