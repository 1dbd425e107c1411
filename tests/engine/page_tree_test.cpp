// The new one-level page tree lists a page only when every object its Contents names was found;
// the page's object is copied either way.
#include <gtest/gtest.h>

#include "pdf_builder.h"
#include "repair_harness.h"

namespace tarnwick::test {
namespace {

bool Holds(const std::string& output, std::string_view bytes) {
  return output.find(bytes) != std::string::npos;
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
