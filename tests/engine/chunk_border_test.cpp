// Step 1 reads from offset 8 in 512-byte chunks and a keyword test sees only its own chunk, so
// the borders at 520, 1032, ... decide which keywords are found.
#include <gtest/gtest.h>

#include "pdf_builder.h"
#include "repair_harness.h"

namespace tarnwick::test {
namespace {

constexpr std::size_t kFirstBorder = 520;
constexpr std::size_t kSecondBorder = 1032;

ScanResults Scan(const PdfBuilder& pdf) {
  RepairRun run = RepairBytes(pdf.Bytes());
  EXPECT_TRUE(run.completed) << run.failureText;
  return run.results;
}

class EndobjAcrossBorder : public testing::TestWithParam<std::size_t> {};

TEST_P(EndobjAcrossBorder, IsFoundHoweverTheKeywordIsSplit) {
  const std::size_t lettersBefore = GetParam();
  PdfBuilder pdf;
  pdf.Object(1, "<< >>");
  pdf.Raw("2 0 obj").Eol().PadTo(kFirstBorder - lettersBefore).Raw("endobj").Eol();
  const ScanResults results = Scan(pdf);
  ASSERT_EQ(results.objects.size(), 2u);
  EXPECT_EQ(results.objects[1].number, 2);
  EXPECT_EQ(results.objects[1].start, pdf.Find("2 0 obj"));
  EXPECT_EQ(results.objects[1].end, kFirstBorder - lettersBefore);
}

INSTANTIATE_TEST_SUITE_P(Splits, EndobjAcrossBorder, testing::Range<std::size_t>(0, 7));

TEST(ChunkBorder, ObjectHeaderSplitBeforeBjIsFound) {
  PdfBuilder pdf;
  pdf.PadTo(kFirstBorder - 6).Eol().Raw("7 0 obj").Eol().Raw("<< >>").Eol().Raw("endobj").Eol();
  ASSERT_EQ(pdf.Find("obj"), kFirstBorder - 1);
  const ScanResults results = Scan(pdf);
  ASSERT_EQ(results.objects.size(), 1u);
  EXPECT_EQ(results.objects[0].number, 7);
  EXPECT_EQ(results.objects[0].start, kFirstBorder - 5);
}

TEST(ChunkBorder, PageWhoseLastLetterStartsAChunkIsFoundOncePerScan) {
  PdfBuilder pdf;
  pdf.Raw("3 0 obj").Eol().PadTo(kFirstBorder - 13).Raw("<< /Type /Page >>").Eol();
  pdf.Raw("endobj").Eol();
  pdf.Raw("5 0 obj").Eol().PadTo(kSecondBorder - 13).Raw("<< /Type /Page >>").Eol();
  pdf.Raw("endobj").Eol();
  pdf.Object(8, "<< /Type /Page >>");
  ASSERT_EQ(pdf.Find("/Page"), kFirstBorder - 4);
  ASSERT_EQ(pdf.Find("/Page", kFirstBorder), kSecondBorder - 4);
  const ScanResults results = Scan(pdf);
  EXPECT_EQ(results.objects.size(), 3u);
  // Only one page keyword per scan is caught across a border.
  EXPECT_EQ(results.pages, (std::vector<std::int64_t>{3, 8}));
}

TEST(ChunkBorder, PagesKeywordAcrossTheBorderIsNoPage) {
  PdfBuilder pdf;
  pdf.Raw("2 0 obj").Eol().PadTo(kFirstBorder - 13).Raw("<< /Type /Pages >>").Eol();
  pdf.Raw("endobj").Eol();
  ASSERT_EQ(pdf.Find("/Pages"), kFirstBorder - 4);
  EXPECT_TRUE(Scan(pdf).pages.empty());
}

TEST(ChunkBorder, CatalogWhoseLastLetterStartsAChunkIsFound) {
  PdfBuilder pdf;
  pdf.PadTo(kFirstBorder - 25).Eol().Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  ASSERT_EQ(pdf.Find("Catalog"), kFirstBorder - 6);
  EXPECT_EQ(Scan(pdf).catalogNumber, 1);
}

TEST(ChunkBorder, TrailerAcrossTheBorderIsNotFound) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog >>").PadTo(kFirstBorder - 4);
  pdf.Raw("trailer").Eol().Raw("<< /Size 2 /Root 1 0 R >>").Eol();
  const RepairRun run = RepairBytes(pdf.Bytes());
  EXPECT_TRUE(run.results.trailers.empty());
  // The repair then stands on what the scan found itself.
  ASSERT_TRUE(run.rebuilt.fallbackTrailer.has_value());
  EXPECT_EQ(run.rebuilt.fallbackTrailer->root, 1);
  EXPECT_EQ(run.rebuilt.fallbackTrailer->size, 1);
}

}  // namespace
}  // namespace tarnwick::test
