// Step 2 copies objects byte for byte; page objects go through 512-byte chunks in which the
// first complete "/Parent N 0 R" is pointed at the new page tree.
#include <gtest/gtest.h>

#include "pdf_builder.h"
#include "repair_harness.h"

namespace tarnwick::test {
namespace {

constexpr std::size_t kHeaderLength = 14;

// A source holding only object 5 (a page, numbered so that the new Pages object is 7), whose
// byte range is `rangeLength` bytes with `body` at its start. Returns the range's bytes.
std::string SinglePageSource(std::string_view body, std::size_t rangeLength, std::string& range) {
  PdfBuilder pdf;
  const std::size_t start = pdf.Size();
  pdf.Raw("5 0 obj").Eol().Raw(body).PadTo(start + rangeLength - 3).Raw(">>").Eol();
  range = pdf.Bytes().substr(start);
  EXPECT_EQ(range.size(), rangeLength);
  pdf.Raw("endobj").Eol();
  return pdf.Bytes();
}

// The object copied first, right after the header, up to and with the "endobj\n" after it.
std::string FirstCopy(const std::string& source) {
  const RepairRun run = RepairBytes(source);
  EXPECT_TRUE(run.completed) << run.failureText;
  const std::size_t end = run.output.find("endobj\n", kHeaderLength);
  return end == std::string::npos ? run.output
                                  : run.output.substr(kHeaderLength, end + 7 - kHeaderLength);
}

// A page body whose "/Parent 2 0 R" starts `keyAt` bytes into the object's range.
std::string BodyWithParentAt(std::size_t keyAt) {
  const std::string start = "<< /Type /Page";
  return start + std::string(keyAt - std::string_view("5 0 obj\n").size() - start.size(), ' ') +
         "/Parent 2 0 R";
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos);
  return text.replace(at, from.size(), to);
}

class RangeLength : public testing::TestWithParam<std::size_t> {};

TEST_P(RangeLength, PlainObjectIsCopiedWhole) {
  std::string range;
  const std::string source = SinglePageSource("<< /Type /Font ", GetParam(), range);
  EXPECT_EQ(FirstCopy(source), range + "endobj\n");
}

TEST_P(RangeLength, PageIsCopiedWholeWithItsParentRewritten) {
  std::string range;
  const std::string source = SinglePageSource("<< /Type /Page /Parent 2 0 R ", GetParam(), range);
  EXPECT_EQ(FirstCopy(source), Replaced(range, "/Parent 2 0 R", "/Parent 7 0 R") + "endobj\n");
}

// Objects of 64 KiB and more are copied from file to file; 300 000 bytes span two of the reader's
// blocks.
INSTANTIATE_TEST_SUITE_P(AroundChunkSize, RangeLength,
                         testing::Values(511, 512, 513, 1024, 1025, 65536, 300000));

TEST(ParentRewrite, ReferenceWhollyInsideTheFirstChunkIsRewritten) {
  // The R of "/Parent 2 0 R" is the chunk's last byte.
  std::string range;
  const std::string source = SinglePageSource(BodyWithParentAt(499), 600, range);
  ASSERT_EQ(range.find("/Parent") + 12, 511u);
  EXPECT_EQ(FirstCopy(source), Replaced(range, "/Parent 2 0 R", "/Parent 7 0 R") + "endobj\n");
}

TEST(ParentRewrite, KeyOrReferenceAcrossACopyChunkBorderIsCopiedUnchanged) {
  for (const std::size_t keyAt : {500u, 508u}) {
    std::string range;
    const std::string source = SinglePageSource(BodyWithParentAt(keyAt), 600, range);
    ASSERT_EQ(range.find("/Parent"), keyAt);
    EXPECT_EQ(FirstCopy(source), range + "endobj\n") << "key at " << keyAt;
  }
}

TEST(ParentRewrite, OnlyTheFirstParentOfAChunkIsRewritten) {
  std::string range;
  const std::string source =
      SinglePageSource("<< /Type /Page /Parent 2 0 R /Parent 2 0 R ", 100, range);
  EXPECT_EQ(FirstCopy(source), Replaced(range, "/Parent 2 0 R", "/Parent 7 0 R") + "endobj\n");
}

TEST(ParentRewrite, LineEndAfterTheKeyBecomesOneSpace) {
  std::string range;
  const std::string source = SinglePageSource("<< /Type /Page /Parent\r\n2 0 R ", 100, range);
  EXPECT_EQ(FirstCopy(source), Replaced(range, "/Parent\r\n2 0 R", "/Parent 7 0 R") + "endobj\n");
}

}  // namespace
}  // namespace tarnwick::test
