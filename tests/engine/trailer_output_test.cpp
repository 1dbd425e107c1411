// The tail of the repaired file: which entries of the source's trailer survive, how /Size is
// counted, and which numbers the new Pages object and catalog take.
#include <gtest/gtest.h>

#include "pdf_builder.h"
#include "repair_harness.h"

namespace tarnwick::test {
namespace {

// The trailer dictionary as written, from "trailer" to its closing ">>".
std::string TrailerOf(const std::string& output) {
  const std::size_t start = output.rfind("trailer\n");
  const std::size_t end = output.rfind("\nstartxref\n");
  if (start == std::string::npos || end == std::string::npos || end < start) return output;
  return output.substr(start, end - start);
}

// Catalog 1, page tree 2, page 3 and its contents 4, and a trailer with `entries`.
std::string FourObjectSource(std::string_view entries) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>");
  pdf.Object(4, "<< /Length 0 >>\nstream\n\nendstream");
  return pdf.XrefTable().Trailer(entries).Bytes();
}

RepairRun Repair(const std::string& source) {
  RepairRun run = RepairBytes(source);
  EXPECT_TRUE(run.completed) << run.failureText;
  return run;
}

TEST(TrailerOutput, EncryptReferenceIsKept) {
  const RepairRun run = Repair(FourObjectSource("/Size 5 /Root 1 0 R /Encrypt 9 0 R"));
  EXPECT_EQ(TrailerOf(run.output), "trailer\n<< \n/Size 7 \n/Root 1 0 R  /Encrypt 9 0 R \r\r\n>>");
}

class TwoStringIdentifier : public testing::TestWithParam<std::string> {};

TEST_P(TwoStringIdentifier, IsCopiedAsItStands) {
  const RepairRun run = Repair(FourObjectSource("/Size 5 /Root 1 0 R /ID " + GetParam()));
  EXPECT_EQ(TrailerOf(run.output),
            "trailer\n<< \n/Size 7 \n/Root 1 0 R  \n/ID" + GetParam() + "\r\n>>");
}

INSTANTIATE_TEST_SUITE_P(
    Forms, TwoStringIdentifier,
    testing::Values("[<0123456789ABCDEF0123456789ABCDEF> <FEDCBA9876543210FEDCBA9876543210>]",
                    "[<00 11>\n<22>]", "[(abc)(d\\)e)]", "[ (x) <78> ]"));

TEST(TrailerOutput, IdentifierWithoutExactlyTwoStringsIsLeftOut) {
  for (const char* id : {"[<0A1B>]", "[<01> <02> <03>]", "[<zz> <00>]", "<01> <02>"}) {
    const RepairRun run = Repair(FourObjectSource(std::string("/Size 5 /Root 1 0 R /ID ") + id));
    EXPECT_EQ(TrailerOf(run.output), "trailer\n<< \n/Size 7 \n/Root 1 0 R  \r\n>>") << id;
  }
}

TEST(TrailerOutput, OldStyleEntriesAtFixedPlacesAreTakenWhenDecodeParmsIsSeen) {
  PdfBuilder pdf;
  pdf.PadTo(166).Raw("/Encrypt 12 0 R").PadTo(200);
  const std::string id =
      "/ID[<0123456789abcdef0123456789abcdef><0123456789abcdef0123456789abcdef>]";
  pdf.Raw(id).Eol().Object(3, "<</DecodeParms << /Columns 4 >> >>");
  const RepairRun run = Repair(pdf.Bytes());
  // Object 3 makes the Pages object 5; with no Root known, the catalog is 6.
  EXPECT_EQ(TrailerOf(run.output),
            "trailer\n<< \n/Size 7 \n/Root 6 0 R  /Encrypt 12 0 R" + id + "\r\n>>");
}

TEST(TrailerOutput, SizeFollowsTheHighestListedNumberNotTheSource) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog >>").Object(9, "<< /Producer (x) >>");
  const RepairRun run = Repair(pdf.Trailer("/Size 3 /Root 1 0 R").Bytes());
  // Object 9 makes the new Pages object 11.
  EXPECT_EQ(TrailerOf(run.output), "trailer\n<< \n/Size 12 \n/Root 1 0 R  \r\n>>");
  EXPECT_NE(run.output.find("\nxref\n0 12\n"), std::string::npos);
}

TEST(TrailerOutput, NumbersOutsideTheListableRangeAreCopiedButNeverListed) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog >>");
  pdf.Object(3, "<< /Type /Page >>");
  pdf.Object(8388608, "<< /Type /Page >>");
  const RepairRun run = Repair(pdf.Trailer("/Size 4 /Root 1 0 R").Bytes());
  EXPECT_EQ(run.results.pages, (std::vector<std::int64_t>{3, 8388608}));
  EXPECT_EQ(run.rebuilt.newPagesNumber, 5u);
  EXPECT_NE(run.output.find("8388608 0 obj\n<< /Type /Page >>\nendobj\n"), std::string::npos);
  EXPECT_NE(run.output.find("/Kids [3 0 R  ]\n/Count 1\n"), std::string::npos);
  // Entries for 1, 3 and 5 only: the table ends with the Pages object.
  EXPECT_NE(run.output.find("\nxref\n0 6\n"), std::string::npos);
  EXPECT_EQ(TrailerOf(run.output), "trailer\n<< \n/Size 6 \n/Root 1 0 R  \r\n>>");
}

TEST(TrailerOutput, RootOnTheNewPagesNumberMovesThePagesObjectUp) {
  const RepairRun run = Repair(FourObjectSource("/Size 5 /Root 6 0 R"));
  EXPECT_EQ(run.rebuilt.newPagesNumber, 7u);
  EXPECT_NE(run.output.find("/Parent 7 0 R"), std::string::npos);
  EXPECT_NE(run.output.find("7 0 obj\n<< \n   /Type /Pages\n   /Kids [3 0 R  ]"),
            std::string::npos);
  EXPECT_NE(run.output.find("6 0 obj\n<</Type/Catalog/Pages 7 0 R\n>>"), std::string::npos);
  EXPECT_EQ(TrailerOf(run.output), "trailer\n<< \n/Size 8 \n/Root 6 0 R  \r\n>>");
}

}  // namespace
}  // namespace tarnwick::test
