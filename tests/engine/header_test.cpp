// The output header: the source's version is kept only when readers of any age accept it.
#include <gtest/gtest.h>

#include "repair_harness.h"

namespace tarnwick::test {
namespace {

struct HeaderCase {
  std::string sourceStart;
  std::string version;  // expected after "%PDF-"
};

void PrintTo(const HeaderCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.sourceStart);
}

class OutputHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(OutputHeader, CopiesVersionsOneZeroToOneSevenElseWritesOneFour) {
  const RepairRun run = RepairBytes(GetParam().sourceStart);
  ASSERT_TRUE(run.completed) << run.failureText;
  // A CR, then a comment of bytes above 0x7F that marks the file as binary, then an LF.
  const std::string expected = "%PDF-" + GetParam().version + "\r%\xE2\xE3\xCF\n";
  EXPECT_EQ(run.output.substr(0, expected.size()), expected);
  // The first object written comes right after the header.
  EXPECT_EQ(run.output.substr(expected.size(), 8), "2 0 obj\n");
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OutputHeader,
    testing::Values(HeaderCase{"%PDF-1.0\n", "1.0"}, HeaderCase{"%PDF-1.3\r\n", "1.3"},
                    HeaderCase{"%PDF-1.5", "1.5"}, HeaderCase{"%PDF-1.7\n%%EOF\n", "1.7"},
                    HeaderCase{"%PDF-1.8\n", "1.4"}, HeaderCase{"%PDF-1.9\n", "1.4"},
                    HeaderCase{"%PDF-1.A\n", "1.4"}, HeaderCase{"%PDF-1 5\n", "1.4"},
                    HeaderCase{"%PDF-2.0\n", "1.4"}, HeaderCase{"%PDF-0.9\n", "1.4"},
                    HeaderCase{"\x89PNG\r\n\x1a\n", "1.4"}, HeaderCase{"%PDF-1.", "1.4"},
                    HeaderCase{"%PDF", "1.4"}, HeaderCase{"", "1.4"}));

}  // namespace
}  // namespace tarnwick::test
