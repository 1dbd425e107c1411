// Step 1 reads from offset 8 and reports its progress every 512 bytes; the borders at 520, 1032,
// ... must not decide which keywords are found.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "keyword_candidates.h"
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

// A keyword placed so that `lettersBefore` of its bytes stand before the first border.
struct BorderCase {
  std::string keyword;
  std::size_t lettersBefore;
};

std::vector<BorderCase> EveryKeywordAtEverySplit() {
  std::vector<BorderCase> cases;
  for (const char* keyword :
       {"endobj", "obj", "/Page", "Catalog", "trailer", "Kids", "<</DecodeParms"}) {
    for (std::size_t before = 0; before <= std::string_view(keyword).size(); ++before) {
      cases.push_back({keyword, before});
    }
  }
  return cases;
}

class KeywordAcrossBorder : public testing::TestWithParam<BorderCase> {};

TEST_P(KeywordAcrossBorder, IsFoundHoweverItIsSplit) {
  const std::string& keyword = GetParam().keyword;
  const std::size_t at = kFirstBorder - GetParam().lettersBefore;
  PdfBuilder pdf;
  if (keyword == "endobj") {
    pdf.Object(1, "<< >>").Raw("2 0 obj").Eol().PadTo(at).Raw("endobj").Eol();
  } else if (keyword == "obj") {
    pdf.PadTo(at - 4).Raw("7 0 obj\n<< >>\nendobj\n");
  } else if (keyword == "/Page") {
    pdf.Raw("3 0 obj").Eol().PadTo(at - 9).Raw("<< /Type /Page >>\nendobj\n");
  } else if (keyword == "Catalog") {
    pdf.PadTo(at - 19).Raw("\n1 0 obj\n<< /Type /Catalog >>\nendobj\n");
  } else if (keyword == "trailer") {
    pdf.Object(1, "<< /Type /Catalog >>").PadTo(at).Raw("trailer\n<< /Size 2 /Root 1 0 R >>\n");
  } else if (keyword == "Kids") {
    pdf.Raw("2 0 obj").Eol().PadTo(at - 17).Raw("<< /Type /Pages /Kids [3 0 R] >>\nendobj\n");
  } else {
    pdf.PadTo(at).Raw("<</DecodeParms<<>>>>\n");
  }
  ASSERT_EQ(pdf.Bytes().compare(at, keyword.size(), keyword), 0);
  const ScanResults results = Scan(pdf);
  if (keyword == "endobj") {
    ASSERT_EQ(results.objects.size(), 2u);
    EXPECT_EQ(results.objects[1].number, 2);
    EXPECT_EQ(results.objects[1].end, at);
  } else if (keyword == "obj") {
    ASSERT_EQ(results.objects.size(), 1u);
    EXPECT_EQ(results.objects[0].number, 7);
  } else if (keyword == "/Page") {
    EXPECT_EQ(results.pages, (std::vector<std::int64_t>{3}));
  } else if (keyword == "Catalog") {
    EXPECT_EQ(results.catalogNumber, 1);
  } else if (keyword == "trailer") {
    ASSERT_EQ(results.trailersFound, 1u);
    EXPECT_EQ(results.trailer->root, 1);
  } else if (keyword == "Kids") {
    EXPECT_EQ(results.oldPagesNumber, 2);
    EXPECT_EQ(KidsList(results), (std::vector<KidsEntry>{{1, 3}}));
  } else {
    EXPECT_TRUE(results.decodeParmsSeen);
  }
}

INSTANTIATE_TEST_SUITE_P(Splits, KeywordAcrossBorder,
                         testing::ValuesIn(EveryKeywordAtEverySplit()));

TEST(ChunkBorder, ObjectHeaderSplitBeforeBjIsFound) {
  PdfBuilder pdf;
  pdf.PadTo(kFirstBorder - 6).Eol().Raw("7 0 obj").Eol().Raw("<< >>").Eol().Raw("endobj").Eol();
  ASSERT_EQ(pdf.Find("obj"), kFirstBorder - 1);
  const ScanResults results = Scan(pdf);
  ASSERT_EQ(results.objects.size(), 1u);
  EXPECT_EQ(results.objects[0].number, 7);
  EXPECT_EQ(results.objects[0].start, kFirstBorder - 5);
}

TEST(ChunkBorder, PagesAcrossEveryBorderAreFound) {
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
  EXPECT_EQ(results.pages, (std::vector<std::int64_t>{3, 5, 8}));
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

TEST(ChunkBorder, EncryptionOfATrailerAcrossTheBorderIsKept) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog >>")
      .Object(2, "<< /Filter /Standard >>")
      .PadTo(kFirstBorder - 4);
  pdf.Raw("trailer").Eol().Raw("<< /Size 3 /Root 1 0 R /Encrypt 2 0 R >>").Eol();
  const RepairRun run = RepairBytes(pdf.Bytes());
  ASSERT_EQ(run.results.trailersFound, 1u);
  EXPECT_FALSE(run.rebuilt.fallbackTrailer.has_value());
  EXPECT_NE(run.output.find("/Encrypt 2 0 R \r"), std::string::npos);
}

TEST(KeywordCandidates, BytewiseAndVectorSearchesFindTheSamePairs) {
  const std::vector<std::uint8_t> known = {'x', '/', 'P', 'o', 'b', 'o'};
  std::vector<std::uint32_t> found;
  FindKeywordCandidatesPortable(known, 'b', found);
  EXPECT_EQ(found, (std::vector<std::uint32_t>{1, 3, 5}));  // the last pair ends past the block

  std::mt19937 random(7);
  const std::string_view pieces = "/Page Catalog obj <</DecodeParms trailer Kids ObjStm XRef";
  for (int round = 0; round < 500; ++round) {
    std::vector<std::uint8_t> block(random() % 200);
    for (std::uint8_t& byte : block) {
      byte = random() % 3 == 0 ? static_cast<std::uint8_t>(pieces[random() % pieces.size()])
                               : static_cast<std::uint8_t>(random());
    }
    const int next = random() % 2 == 0 ? -1 : pieces[random() % pieces.size()];
    std::vector<std::uint32_t> bytewise;
    FindKeywordCandidatesPortable(block, next, bytewise);
#if defined(TARNWICK_VECTOR_KEYWORD_SEARCH)
    std::vector<std::uint32_t> vector;
    FindKeywordCandidatesVector(block, next, vector);
    EXPECT_EQ(vector, bytewise) << "round " << round;
#endif
    std::vector<std::uint32_t> chosen;
    FindKeywordCandidates(block, next, chosen);
    EXPECT_EQ(chosen, bytewise) << "round " << round;
  }
}

}  // namespace
}  // namespace tarnwick::test
