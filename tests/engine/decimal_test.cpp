// The number reader and writer that every rule and every written number goes through.
#include "decimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace tarnwick {
namespace {

std::int32_t Parse(const std::string& text) {
  return ParseDecimal(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(ParseDecimal, SaturatesAtTheThirtyTwoBitLimits) {
  EXPECT_EQ(Parse("2147483647"), kMax);
  EXPECT_EQ(Parse("2147483648"), kMax);
  EXPECT_EQ(Parse("99999999999999999999999999"), kMax);
  EXPECT_EQ(Parse("-2147483647"), kMin + 1);
  EXPECT_EQ(Parse("-2147483648"), kMin);
  EXPECT_EQ(Parse("-2147483649"), kMin);
  EXPECT_EQ(Parse("-99999999999999999999999999"), kMin);
}

TEST(ParseDecimal, SkipsLeadingWhiteSpaceAndTakesOneSign) {
  EXPECT_EQ(Parse(" \t\n\v\f\r42"), 42);
  EXPECT_EQ(Parse("+7"), 7);
  EXPECT_EQ(Parse("-12 0 obj"), -12);
  EXPECT_EQ(Parse("  -0"), 0);
  EXPECT_EQ(Parse("+-5"), 0);
  EXPECT_EQ(Parse("- 5"), 0);
  // A NUL byte is white space to PDF but not to this reader.
  EXPECT_EQ(Parse(std::string("\0"
                              "5",
                              2)),
            0);
}

TEST(ParseDecimal, StopsAtTheFirstByteThatIsNoDigit) {
  EXPECT_EQ(Parse("12abc"), 12);
  EXPECT_EQ(Parse("3 0 R"), 3);
  EXPECT_EQ(Parse("007"), 7);
  EXPECT_EQ(Parse("R"), 0);
  EXPECT_EQ(Parse(""), 0);
  // The count is the limit, not a terminator.
  EXPECT_EQ(ParseDecimal(reinterpret_cast<const std::uint8_t*>("1234"), 2), 12);
}

TEST(ParseDecimal, LooksAtTheFirst1024BytesOnly) {
  EXPECT_EQ(Parse(std::string(1020, ' ') + "12345"), 1234);
  EXPECT_EQ(Parse(std::string(1023, ' ') + "9"), 9);
  EXPECT_EQ(Parse(std::string(1024, ' ') + "9"), 0);
  EXPECT_EQ(Parse(std::string(2000, '0') + "5"), 0);
}

TEST(FormatDecimal, WritesDigitsWithoutSignOrPadding) {
  EXPECT_EQ(FormatDecimal(0), "0");
  EXPECT_EQ(FormatDecimal(7), "7");
  EXPECT_EQ(FormatDecimal(10), "10");
  EXPECT_EQ(FormatDecimal(8388607), "8388607");
  EXPECT_EQ(FormatDecimal(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
}

}  // namespace
}  // namespace tarnwick
