#include "reference_search.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "byte_classes.h"

namespace tarnwick {

namespace {

constexpr std::size_t kBlock = 64 << 10;

// The number of the reference whose "R" stands at `r`: digits, white space, digits, white
// space before it, and no regular character right before the first digits.
std::optional<std::int64_t> ReferenceEndingAt(SourceReader& reader, std::int64_t r) {
  std::int64_t at = r - 1;
  auto skipSpace = [&] {
    const std::int64_t from = at;
    while (at >= 0 && IsPdfSpace(reader.ByteAt(at))) --at;
    return at < from;
  };
  auto skipDigits = [&](int most) {
    const std::int64_t from = at;
    while (at >= 0 && from - at < most && IsDigit(reader.ByteAt(at))) --at;
    return at < from;
  };
  if (!skipSpace() || !skipDigits(5) || !skipSpace()) return std::nullopt;
  const std::int64_t last = at;
  if (!skipDigits(10) || (at >= 0 && IsRegular(reader.ByteAt(at)))) return std::nullopt;
  std::int64_t number = 0;
  for (std::int64_t i = at + 1; i <= last; ++i) number = number * 10 + (reader.ByteAt(i) - '0');
  return number;
}

}  // namespace

std::vector<std::int64_t> NumbersReferenced(SourceReader& reader,
                                            const std::vector<std::int64_t>& numbers) {
  std::vector<std::int64_t> named;
  // A copy of each block: reading what stands before an "R" may move the reader's cache.
  std::vector<std::uint8_t> bytes(kBlock);
  for (std::int64_t block = 0; block < reader.Length() && named.size() < numbers.size();
       block += static_cast<std::int64_t>(kBlock)) {
    const std::uint8_t* end = bytes.data() + reader.Read(block, kBlock, bytes.data());
    for (const std::uint8_t* r = bytes.data(); r < end; ++r) {
      r = static_cast<const std::uint8_t*>(
          std::memchr(r, 'R', static_cast<std::size_t>(end - r)));
      if (!r) break;
      const std::int64_t at = block + (r - bytes.data());
      if (IsRegular(reader.ByteAt(at + 1))) continue;
      const std::optional<std::int64_t> number = ReferenceEndingAt(reader, at);
      if (number && std::binary_search(numbers.begin(), numbers.end(), *number) &&
          !std::binary_search(named.begin(), named.end(), *number)) {
        named.insert(std::upper_bound(named.begin(), named.end(), *number), *number);
      }
    }
  }
  return named;
}

}  // namespace tarnwick
