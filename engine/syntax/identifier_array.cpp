#include "identifier_array.h"

#include "byte_classes.h"
#include "run_cursor.h"

namespace tarnwick {

namespace {

// An identifier array is two strings of a few dozen bytes; a longer run is no identifier.
constexpr std::size_t kIdentifierReach = 1024;

}  // namespace

std::vector<std::uint8_t> IdentifierArrayAt(SourceReader& source, std::int64_t at) {
  std::int64_t open = at;
  while (open < source.Length() && IsPdfSpace(source.ByteAt(open))) ++open;
  const std::vector<std::uint8_t> bytes = source.ReadVector(open, kIdentifierReach);
  RunCursor cursor(bytes.data(), bytes.size());
  bool ok = cursor.Take('[');
  ok = ok && (cursor.SkipWhile(IsPdfSpace), cursor.TakeString());
  ok = ok && (cursor.SkipWhile(IsPdfSpace), cursor.TakeString());
  ok = ok && (cursor.SkipWhile(IsPdfSpace), cursor.Take(']'));
  if (!ok) return {};
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cursor.Position())};
}

}  // namespace tarnwick
