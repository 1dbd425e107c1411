// The new one-level page tree lists a page only when every object its Contents names was found,
// each page once, in the order of the old tree where it can be read; the page's object is copied
// either way.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "pdf_builder.h"
#include "repair_harness.h"

namespace tarnwick::test {
namespace {

bool Holds(const std::string& output, std::string_view bytes) {
  return output.find(bytes) != std::string::npos;
}

// The references of the new Kids array, as written.
std::string KidsOf(const std::string& output) {
  static constexpr std::string_view kOpen = "/Type /Pages\n   /Kids [";
  const std::size_t open = output.rfind(kOpen);
  const std::size_t close = output.find(" ]", open);
  if (open == std::string::npos || close == std::string::npos) return "(no Kids array)";
  return output.substr(open + kOpen.size(), close - open - kOpen.size());
}

// The source without its "endobj" lines.
std::string WithoutEndobjLines(std::string pdf) {
  for (std::size_t at = pdf.find("\nendobj\n"); at != std::string::npos;
       at = pdf.find("\nendobj\n", at)) {
    pdf.erase(at + 1, 7);
  }
  return pdf;
}

// An old page tree and the order of the pages it gives. Pages 5 to 8 stand in the file in
// number order after the tree's nodes; the catalog is object 1.
struct TreeOrder {
  const char* name;
  std::vector<std::pair<int, std::string>> nodes;
  std::string kids;
  bool endobjLines = true;  // false: every "endobj" line taken out of the source
  // Where given, the nodes that are copied, by number: the old Pages object is not.
  const char* copiedNodes = nullptr;
};

class PageTreeOrder : public testing::TestWithParam<TreeOrder> {};

TEST_P(PageTreeOrder, PagesAreListedInTheTreesOrderThenThoseItMisses) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  for (const auto& [number, body] : GetParam().nodes) pdf.Object(number, body);
  for (int page = 5; page <= 8; ++page) pdf.Object(page, "<< /Type /Page /Parent 2 0 R >>");
  pdf.Trailer("/Size 9 /Root 1 0 R");
  const RepairRun run =
      RepairBytes(GetParam().endobjLines ? pdf.Bytes() : WithoutEndobjLines(pdf.Bytes()));
  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(KidsOf(run.output), GetParam().kids);
  if (!GetParam().copiedNodes) return;
  std::string copied;
  for (const auto& [number, body] : GetParam().nodes) {
    std::string header = "\n";
    header.append(std::to_string(number)).append(" 0 obj\n");
    if (!Holds(run.output, header)) continue;
    if (!copied.empty()) copied += ' ';
    copied += std::to_string(number);
  }
  EXPECT_EQ(copied, GetParam().copiedNodes);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, PageTreeOrder,
    testing::Values(TreeOrder{"Reversed",
                              {{2, "<< /Type /Pages /Kids [8 0 R 7 0 R 6 0 R 5 0 R] >>"}},
                              "8 0 R 7 0 R 6 0 R 5 0 R "},
                    TreeOrder{"TwoLevels",
                              {{2, "<< /Kids [4 0 R 3 0 R] >>"},
                               {3, "<< /Kids [6 0 R 5 0 R] >>"},
                               {4, "<< /Kids [8 0 R null 7 0 R] >>"}},
                              "8 0 R 7 0 R 6 0 R 5 0 R "},
                    TreeOrder{"ThreeLevels",
                              {{2, "<< /Kids [3 0 R] >>"},
                               {3, "<< /Kids [4 0 R 6 0 R] >>"},
                               {4, "<< /Kids [7 0 R] >>"}},
                              "7 0 R 6 0 R 5 0 R 8 0 R "},
                    TreeOrder{"LoopAndKidsNamedTwice",
                              {{2, "<< /Kids [3 0 R 7 0 R] >>"},
                               {3, "<< /Kids [2 0 R 6 0 R 7 0 R 3 0 R] >>"}},
                              "6 0 R 7 0 R 5 0 R 8 0 R "},
                    TreeOrder{"MissingNode",
                              {{2, "<< /Kids [9 0 R 8 0 R 0 0 R 6 0 R] >>"}},
                              "8 0 R 6 0 R 5 0 R 7 0 R "},
                    TreeOrder{"KidsNotAnArrayMakesALeaf",
                              {{2, "<< /Kids 3 0 R >>"}, {3, "[8 0 R]"}},
                              "5 0 R 6 0 R 7 0 R 8 0 R "},
                    TreeOrder{"NodeThatIsNoDictionary",
                              {{2, "<< /Kids [8 0 R 7 0 R] /X {1} >>"}},
                              "5 0 R 6 0 R 7 0 R 8 0 R "},
                    TreeOrder{"FieldAndNameTreeWithKidsAfterTheTree",
                              {{2, "<< /Type /Pages /Kids [8 0 R 7 0 R 6 0 R 5 0 R] >>"},
                               {3, "<< /FT /Btn /T (f) /Kids [9 0 R] >>"},
                               {4, "<< /Kids [9 0 R] /Limits [(a) (z)] >>"}},
                              "8 0 R 7 0 R 6 0 R 5 0 R ",
                              true,
                              "3 4"},
                    TreeOrder{"TypeAfterKids",
                              {{2, "<< /Kids [8 0 R 7 0 R 6 0 R 5 0 R] /Count 4 /Type\n/Pages >>"},
                               {3, "<< /Type /Outlines /Kids [9 0 R] >>"}},
                              "8 0 R 7 0 R 6 0 R 5 0 R ",
                              true,
                              "3"},
                    TreeOrder{"TwoLevelsWithoutEndobjLines",
                              {{2, "<< /Type /Pages /Kids [4 0 R 3 0 R] >>"},
                               {3, "<< /Type /Pages /Kids [6 0 R 5 0 R] >>"},
                               {4, "<< /Type /Pages /Kids [8 0 R 7 0 R] >>"}},
                              "8 0 R 7 0 R 6 0 R 5 0 R ",
                              false}),
    [](const testing::TestParamInfo<TreeOrder>& row) { return row.param.name; });

TEST(PageTree, ChainsDeeperThanSixtyFourLevelsAreNotFollowed) {
  for (const int levels : {63, 64}) {
    PdfBuilder pdf;
    pdf.Object(1, "<< /Type /Catalog /Pages 100 0 R >>");
    // Nodes 100, 101, ... each with one kid, the next; the last names page 6, then page 5.
    for (int node = 100; node < 100 + levels - 1; ++node) {
      pdf.Object(node, "<< /Kids [" + std::to_string(node + 1) + " 0 R] >>");
    }
    pdf.Object(100 + levels - 1, "<< /Kids [6 0 R 5 0 R] >>");
    pdf.Object(5, "<< /Type /Page >>").Object(6, "<< /Type /Page >>");
    const RepairRun run = RepairBytes(pdf.Trailer("/Size 200 /Root 1 0 R").Bytes());
    // The pages stand at level `levels` + 1: within reach at 64, passed over at 65.
    EXPECT_EQ(KidsOf(run.output), levels == 63 ? "6 0 R 5 0 R " : "5 0 R 6 0 R ") << levels;
  }
}

TEST(PageTree, PageRewrittenByAnUpdateIsCopiedOnceInItsNewestVersionAndListedOnce) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /Rotate 0 >>");
  pdf.XrefTable().Trailer("/Size 4 /Root 1 0 R");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /Rotate 90 >>");
  const RepairRun run = RepairBytes(pdf.XrefTable().Trailer("/Size 4 /Root 1 0 R /Prev 9").Bytes());
  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(KidsOf(run.output), "3 0 R ");
  EXPECT_TRUE(Holds(run.output, "/Count 1\n"));
  EXPECT_TRUE(Holds(run.output, "/Rotate 90"));
  EXPECT_FALSE(Holds(run.output, "/Rotate 0"));
}

TEST(PageTree, GenerationsStayInTheKidsArrayAndTheCrossReferenceTable) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 1 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /Contents 4 2 R >>", 1);
  pdf.Object(4, "<< /Length 0 >>\nstream\n\nendstream", 2);
  const RepairRun run = RepairBytes(pdf.Trailer("/Size 5 /Root 1 0 R").Bytes());
  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(KidsOf(run.output), "3 1 R ");
  const std::size_t table = run.output.find("xref\n0 7\n");
  ASSERT_NE(table, std::string::npos);
  EXPECT_EQ(run.output.substr(table + 9 + 3 * 20 + 10, 9), " 00001 n ");
  EXPECT_EQ(run.output.substr(table + 9 + 4 * 20 + 10, 9), " 00002 n ");
}

TEST(PageTree, RepairOfARepairedCopyGivesTheSameDocument) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [6 0 R 5 0 R] /Count 2 >>");
  pdf.Object(5, "<< /Type /Page /Parent 2 0 R /Rotate 0 >>");
  pdf.Object(6, "<< /Type /Page /Parent 2 0 R >>");
  pdf.XrefTable().Trailer("/Size 7 /Root 1 0 R");
  pdf.Object(5, "<< /Type /Page /Parent 2 0 R /Rotate 180 >>");
  const RepairRun once = RepairBytes(pdf.Trailer("/Size 7 /Root 1 0 R").Bytes());
  ASSERT_TRUE(once.completed) << once.failureText;

  const RepairRun twice = RepairBytes(once.output);

  ASSERT_TRUE(twice.completed) << twice.failureText;
  EXPECT_EQ(KidsOf(twice.output), "6 0 R 5 0 R ");
  EXPECT_EQ(KidsOf(twice.output), KidsOf(once.output));
  EXPECT_TRUE(Holds(twice.output, "/Rotate 180"));
  EXPECT_FALSE(Holds(twice.output, "/Rotate 0"));
}

TEST(PageTree, PagesWithMissingContentsAreCopiedButNotListed) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(3, "<< /Type /Page /Contents 4 0 R >>");
  pdf.Object(4, "<< /Length 0 >>\nstream\n\nendstream");
  pdf.Object(5, "<< /Type /Page /Contents 9 0 R >>");
  pdf.Object(6, "<< /Type /Page /Contents [4 0 R 8 0 R] >>");
  pdf.Object(7, "<< /Type /Page >>");
  const RepairRun run = RepairBytes(pdf.Trailer("/Size 8 /Root 1 0 R").Bytes());
  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_TRUE(
      Holds(run.output, "9 0 obj\n<< \n   /Type /Pages\n   /Kids [3 0 R 7 0 R  ]\n/Count 2\n"));
  EXPECT_TRUE(Holds(run.output, "5 0 obj\n<< /Type /Page /Contents 9 0 R >>\nendobj\n"));
  EXPECT_TRUE(Holds(run.output, "6 0 obj\n<< /Type /Page /Contents [4 0 R 8 0 R] >>\nendobj\n"));
}

TEST(PageTree, WithoutPageDictionariesTheOldKidsNameThePagesNewestFirst) {
  PdfBuilder pdf;
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R 4 0 R 6 0 R] /Count 3 >>");
  pdf.Object(3, "<< /Parent 2 0 R /Contents 5 0 R >>");
  pdf.Object(4, "<< /Parent 2 0 R >>");
  pdf.Object(5, "<< /Length 0 >>\nstream\n\nendstream");
  pdf.Object(6, "<< /Parent 2 0 R /Contents 9 0 R >>");
  const RepairRun run = RepairBytes(pdf.Bytes());
  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_TRUE(run.results.pages.empty());
  EXPECT_TRUE(
      Holds(run.output, "8 0 obj\n<< \n   /Type /Pages\n   /Kids [4 0 R 3 0 R  ]\n/Count 2\n"));
  // Only pages found by their dictionaries get a new Parent.
  EXPECT_TRUE(Holds(run.output, "3 0 obj\n<< /Parent 2 0 R /Contents 5 0 R >>\nendobj\n"));
}

}  // namespace
}  // namespace tarnwick::test
