// What the repaired file keeps of the document beyond its pages: the trailer a cross-reference
// stream stands in for, the attributes pages inherit from their old tree, the catalog's own
// entries and the document information.
#include <gtest/gtest.h>

#include "packed_objects.h"
#include "pdf_builder.h"
#include "repair_harness.h"

namespace tarnwick::test {
namespace {

const std::string kId = "[<00112233445566778899aabbccddeeff><ffeeddccbbaa99887766554433221100>]";

// A document whose only trailer is a cross-reference stream (object 9), with its catalog and
// page tree packed in an object stream.
std::string XrefStreamDocument(const std::string& xrefEntries) {
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  pdf.Object(1, ObjectStreamBody({
                    {2, "<< /Type /Catalog /Pages 3 0 R >>"},
                    {3, "<< /Type /Pages /Kids [4 0 R] /Count 1 >>"},
                    {4, "<< /Type /Page /Parent 3 0 R /MediaBox [0 0 99 99] /Contents 5 0 R >>"},
                    {6, "<< /Title (Packed title) >>"},
                }));
  pdf.Object(5, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
  pdf.Object(9, "<< /Type /XRef /W [1 2 1] /Size 10 " + xrefEntries +
                    " /Length 4 >>\nstream\n\x01\x00\x0f\x00\nendstream");
  pdf.Raw("startxref\n0\n%%EOF\n");
  return pdf.Bytes();
}

TEST(XrefStreamTrailer, SuppliesRootInfoAndIdWhenThereIsNoTrailer) {
  const RepairRun run = RepairBytes(XrefStreamDocument("/Root 2 0 R /Info 6 0 R /ID " + kId));

  ASSERT_TRUE(run.completed) << run.failureText;
  ASSERT_FALSE(run.results.trailer.has_value());
  // Largest number 6 (the stream of cross references is no object of the table): Pages is 8.
  EXPECT_EQ(TrailerOf(run.output),
            "<< \n/Size 9 \n/Root 2 0 R  /Info 6 0 R  \n/ID" + kId + "\r\n>>\n");
  EXPECT_EQ(ObjectInOutput(run.output, 2), "2 0 obj\n<</Type/Catalog/Pages 8 0 R\n>>\nendobj");
  EXPECT_EQ(run.output.find("/XRef"), std::string::npos);
  EXPECT_EQ(ObjectInOutput(run.output, 9), std::nullopt);
}

TEST(XrefStreamTrailer, SuppliesTheEncryptionReference) {
  const RepairRun run = RepairBytes(XrefStreamDocument("/Root 2 0 R /Encrypt 7 0 R"));

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_NE(TrailerOf(run.output).find("/Encrypt 7 0 R"), std::string::npos) << run.output;
}

TEST(XrefStreamTrailer, WithoutRootTheCatalogFoundByTheScanServes) {
  const RepairRun run = RepairBytes(XrefStreamDocument("/Info 6 0 R"));

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(TrailerOf(run.output), "<< \n/Size 9 \n/Root 2 0 R  /Info 6 0 R  \r\n>>\n");
}

TEST(XrefStreamTrailer, EachEntryComesFromTheNewestStreamThatHasIt) {
  // As in a linearized file: the last stream says only /Size, an earlier one the rest.
  std::string source = XrefStreamDocument("/Root 2 0 R /Info 6 0 R /ID " + kId);
  source +=
      "10 0 obj\n<< /Type /XRef /W [1 2 1] /Size 11 /Length 0 >>\nstream\n\nendstream\n"
      "endobj\n";
  const RepairRun run = RepairBytes(source);

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(TrailerOf(run.output),
            "<< \n/Size 9 \n/Root 2 0 R  /Info 6 0 R  \n/ID" + kId + "\r\n>>\n");
}

TEST(XrefStreamTrailer, ATrailerDictionaryStillComesFirst) {
  std::string source = XrefStreamDocument("/Root 77 0 R /Info 6 0 R");
  source += "trailer\n<< /Size 10 /Root 2 0 R >>\n";
  const RepairRun run = RepairBytes(source);

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(TrailerOf(run.output), "<< \n/Size 9 \n/Root 2 0 R  \r\n>>\n");
}

// Root (10) gives /Resources and /MediaBox, the middle node (11) overrides /MediaBox and adds
// /Rotate; the page has its own /CropBox.
std::string TwoLevelTree(std::string_view pageEntries) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 10 0 R >>");
  pdf.Object(10,
             "<< /Type /Pages /Kids [11 0 R] /Count 1 /Resources << /Font << /F1 20 0 R >> >> "
             "/MediaBox [0 0 612 792] /CropBox [1 1 2 2] >>");
  pdf.Object(11,
             "<< /Type /Pages /Parent 10 0 R /Count 1 /MediaBox [0 0 300 400] /Rotate 90 "
             "/Kids [12 0 R] >>");
  pdf.Object(12,
             "<< /Type /Page /Parent 11 0 R " + std::string(pageEntries) + "/Contents 13 0 R >>");
  pdf.Object(13, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
  pdf.Trailer("/Size 14 /Root 1 0 R");
  return pdf.Bytes();
}

TEST(InheritedAttributes, PageGetsWhatItsNearestAncestorsHadThroughTwoLevels) {
  const RepairRun run = RepairBytes(TwoLevelTree("/CropBox [0 0 10 10] "));

  ASSERT_TRUE(run.completed) << run.failureText;
  // New Pages: 13 + 2 = 15. The old root (holder of the last Kids) is 11; 10 is copied.
  EXPECT_EQ(ObjectInOutput(run.output, 12),
            "12 0 obj\n<< /Type /Page /Parent 15 0 R /Resources << /Font << /F1 20 0 R >> >> "
            "/MediaBox [0 0 300 400] /Rotate 90 /CropBox [0 0 10 10] /Contents 13 0 R >>\nendobj");
}

TEST(InheritedAttributes, PageThatHasEverythingItselfIsCopiedAsItIs) {
  const std::string own = "/Resources 30 0 R /MediaBox [0 0 5 5] /CropBox [0 0 4 4] /Rotate 0 ";
  const RepairRun run = RepairBytes(TwoLevelTree(own));

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(ObjectInOutput(run.output, 12),
            "12 0 obj\n<< /Type /Page /Parent 15 0 R " + own + "/Contents 13 0 R >>\nendobj");
}

TEST(InheritedAttributes, LoopingParentsEndTheWalk) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 10 0 R >>");
  pdf.Object(10, "<< /Type /Pages /Parent 11 0 R /Kids [12 0 R] /Count 1 >>");
  pdf.Object(11, "<< /Type /Pages /Parent 10 0 R /Rotate 180 >>");
  pdf.Object(12, "<< /Type /Page /Parent 10 0 R /Contents 13 0 R >>");
  pdf.Object(13, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
  pdf.Trailer("/Size 14 /Root 1 0 R");
  const RepairRun run = RepairBytes(pdf.Bytes());

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(ObjectInOutput(run.output, 12),
            "12 0 obj\n<< /Type /Page /Parent 15 0 R /Rotate 180 /Contents 13 0 R >>\nendobj");
}

std::string DocumentWithCatalog(std::string_view catalog, std::string_view trailerExtra) {
  PdfBuilder pdf;
  pdf.Object(1, catalog);
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 9 9] /Contents 4 0 R >>");
  pdf.Object(4, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
  pdf.Object(5, "<< /Title (Kept) >>");
  pdf.Trailer("/Size 6 /Root 1 0 R " + std::string(trailerExtra));
  return pdf.Bytes();
}

TEST(CatalogEntries, EveryEntryButTypeAndPagesIsKeptAsWritten) {
  const RepairRun run = RepairBytes(
      DocumentWithCatalog("<< /Type /Catalog /Outlines 9 0 R /Pages 2 0 R /PageMode /UseOutlines\n"
                          "   /Names << /Dests 8 0 R >> /Lang (en-GB) >>",
                          ""));

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(ObjectInOutput(run.output, 1),
            "1 0 obj\n<</Type/Catalog/Pages 7 0 R\n/Outlines 9 0 R\n/PageMode /UseOutlines\n"
            "/Names << /Dests 8 0 R >>\n/Lang (en-GB)\n>>\nendobj");
}

TEST(CatalogEntries, RootNamingAnotherKindOfObjectGivesNone) {
  const RepairRun run = RepairBytes(
      DocumentWithCatalog("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>", ""));

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(ObjectInOutput(run.output, 1), "1 0 obj\n<</Type/Catalog/Pages 7 0 R\n>>\nendobj");
}

TEST(DocumentInformation, KeptWhenItNamesACopiedObject) {
  const RepairRun run =
      RepairBytes(DocumentWithCatalog("<< /Type /Catalog /Pages 2 0 R >>", "/Info 5 0 R"));

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(TrailerOf(run.output), "<< \n/Size 8 \n/Root 1 0 R  /Info 5 0 R  \r\n>>\n");
}

TEST(DocumentInformation, DroppedWhenItsObjectIsMissingOrNotCopied) {
  for (const std::string info : {"/Info 6 0 R", "/Info 2 0 R", "/Info 1 0 R"}) {
    SCOPED_TRACE(info);
    const RepairRun run =
        RepairBytes(DocumentWithCatalog("<< /Type /Catalog /Pages 2 0 R >>", info));
    ASSERT_TRUE(run.completed) << run.failureText;
    EXPECT_EQ(TrailerOf(run.output), "<< \n/Size 8 \n/Root 1 0 R  \r\n>>\n");
  }
}

}  // namespace
}  // namespace tarnwick::test
