// Whole repaired files, written out by hand: every byte after the copied objects comes from the
// engine's own writers, so these pin the layout that PDF readers parse.
#include <gtest/gtest.h>

#include "repair_harness.h"

namespace tarnwick::test {
namespace {

const std::string kHeader14 = "%PDF-1.4\r%\xE2\xE3\xCF\n";

TEST(GoldenOutput, CatalogPageTreePageAndContents) {
  const std::string source =
      "%PDF-1.4\n"
      "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n"
      "2 0 obj\n<< /Type /Pages /Kids [3 0 R] /Count 1 >>\nendobj\n"
      "3 0 obj\n<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>\nendobj\n"
      "4 0 obj\n<< /Length 8 >>\nstream\n0 0 m S\nendstream\nendobj\n"
      "trailer\n<< /Size 5 /Root 1 0 R >>\n%%EOF\n";
  // Offsets: header 14 bytes; object 4 at 14 (49 copied + 7), object 3 at 70 (56 + 7), the
  // Pages object 6 at 133 (66), the catalog 1 at 199 (46); the LF before "xref" at 245.
  const std::string expected =
      kHeader14 +
      "4 0 obj\n<< /Length 8 >>\nstream\n0 0 m S\nendstream\nendobj\n"
      "3 0 obj\n<< /Type /Page /Parent 6 0 R /Contents 4 0 R >>\nendobj\n"
      "6 0 obj\n<< \n   /Type /Pages\n   /Kids [3 0 R  ]\n/Count 1\n>>\nendobj\n"
      "1 0 obj\n<</Type/Catalog/Pages 6 0 R\n>>\nendobj\n"
      "\nxref\n0 7\n"
      "0000000000 65535 f \n"
      "0000000199 00000 n \n"
      "0000000000 00000 f \n"
      "0000000070 00000 n \n"
      "0000000014 00000 n \n"
      "0000000000 00000 f \n"
      "0000000133 00000 n \n"
      " \ntrailer\n<< \n/Size 7 \n/Root 1 0 R  \r\n>>"
      "\nstartxref\n246\n%%EOF\n";
  const RepairRun run = RepairBytes(source);
  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(run.output, expected);
  EXPECT_TRUE(run.shown.empty());
}

TEST(GoldenOutput, EmptyKidsArrayGivesPagesObjectWithoutReferences) {
  const std::string source =
      "%PDF-1.3\n"
      "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n"
      "2 0 obj\n<< /Type /Pages /Kids [] /Count 0 >>\nendobj\n"
      "trailer\n<< /Size 3 /Root 1 0 R >>\n";
  // Both objects give way to new ones: Pages 4 at 14 (60 bytes), catalog 1 at 74 (46).
  const std::string expected =
      "%PDF-1.3\r%\xE2\xE3\xCF\n"
      "4 0 obj\n<< \n   /Type /Pages\n   /Kids [ ]\n/Count 0\n>>\nendobj\n"
      "1 0 obj\n<</Type/Catalog/Pages 4 0 R\n>>\nendobj\n"
      "\nxref\n0 5\n"
      "0000000000 65535 f \n"
      "0000000074 00000 n \n"
      "0000000000 00000 f \n"
      "0000000000 00000 f \n"
      "0000000014 00000 n \n"
      " \ntrailer\n<< \n/Size 5 \n/Root 1 0 R  \r\n>>"
      "\nstartxref\n121\n%%EOF\n";
  const RepairRun run = RepairBytes(source);
  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(run.output, expected);
}

TEST(GoldenOutput, NoObjectsGivesPagesTwoAndCatalogThree) {
  const RepairRun run = RepairBytes("%PDF-1.4\n%%EOF\n");
  const std::string expected = kHeader14 +
                               "2 0 obj\n<< \n   /Type /Pages\n   /Kids [ ]\n/Count 0\n>>\nendobj\n"
                               "3 0 obj\n<</Type/Catalog/Pages 2 0 R\n>>\nendobj\n"
                               "\nxref\n0 4\n"
                               "0000000000 65535 f \n"
                               "0000000000 00000 f \n"
                               "0000000014 00000 n \n"
                               "0000000074 00000 n \n"
                               " \ntrailer\n<< \n/Size 4 \n/Root 3 0 R  \r\n>>"
                               "\nstartxref\n121\n%%EOF\n";
  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(run.output, expected);
  EXPECT_TRUE(run.results.objects.empty());
  EXPECT_EQ(run.rebuilt.newPagesNumber, 2u);
}

}  // namespace
}  // namespace tarnwick::test
