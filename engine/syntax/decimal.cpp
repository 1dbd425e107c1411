#include "decimal.h"

#include <algorithm>
#include <limits>

#include "byte_classes.h"

namespace tarnwick {

namespace {

constexpr std::size_t kMaxParsedBytes = 1024;

}  // namespace

std::int32_t ParseDecimal(const std::uint8_t* bytes, std::size_t count) {
  const std::size_t end = std::min(count, kMaxParsedBytes);
  std::size_t i = 0;
  while (i < end && IsCLocaleSpace(bytes[i])) ++i;
  bool negative = false;
  if (i < end && (bytes[i] == '+' || bytes[i] == '-')) {
    negative = bytes[i] == '-';
    ++i;
  }
  // Accumulate the magnitude with a ceiling just past the 32-bit range, so that long runs of
  // digits cannot overflow before the result saturates.
  constexpr std::int64_t kCeiling = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < end && bytes[i] >= '0' && bytes[i] <= '9'; ++i) {
    magnitude = std::min(kCeiling, magnitude * 10 + (bytes[i] - '0'));
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(std::min(magnitude, kCeiling - 1));
}

std::string FormatDecimal(std::uint64_t value) {
  char digits[20];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  std::string text(n, '0');
  std::reverse_copy(digits, digits + n, text.begin());
  return text;
}

}  // namespace tarnwick
