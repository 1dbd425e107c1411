// Compressed object streams: their objects come out as plain objects, in the place of their
// stream in the object table, with the page, catalog and Kids rules run over them.
#include <gtest/gtest.h>

#include <algorithm>

#include <zlib.h>

#include "packed_objects.h"
#include "pdf_builder.h"
#include "repair_harness.h"
#include "stream_decode.h"

namespace tarnwick::test {
namespace {

const std::vector<PackedObject> kDocumentObjects = {
    {2, "<< /Type /Catalog /Pages 3 0 R /PageMode /UseOutlines >>"},
    {3, "<< /Type /Pages /Kids [4 0 R] /Count 1 >>"},
    {4, "<< /Type /Page /Parent 3 0 R /MediaBox [0 0 200 200] /Contents 5 0 R >>"},
};

std::string DocumentWithPackedObjects(const ObjectStreamForm& form) {
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  pdf.Object(1, ObjectStreamBody(kDocumentObjects, form));
  pdf.Object(5, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
  pdf.Trailer("/Size 6 /Root 2 0 R");
  return pdf.Bytes();
}

std::vector<std::int64_t> UnpackedNumbers(const ScanResults& results) {
  std::vector<std::int64_t> numbers;
  for (const ObjectRecord& record : results.objects) {
    if (record.origin == RecordOrigin::kUnpacked) numbers.push_back(record.number);
  }
  return numbers;
}

class PackedDocument : public ::testing::TestWithParam<ObjectStreamForm> {};

TEST_P(PackedDocument, ObjectsComeOutPlainWithPageCatalogAndTreeFound) {
  const RepairRun run = RepairBytes(DocumentWithPackedObjects(GetParam()));

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(UnpackedNumbers(run.results), (std::vector<std::int64_t>{2, 3, 4}));
  // Uncompressed, the stream's own bytes show the page keyword too, so only the page's own
  // finding is asserted here; the new tree below lists the page alone.
  EXPECT_EQ(std::count(run.results.pages.begin(), run.results.pages.end(), 4), 1);
  EXPECT_EQ(run.results.catalogNumber, 2);
  EXPECT_EQ(run.results.oldPagesNumber, 3);
  // The page is written as a plain object and points at the new tree (largest number 5, + 2).
  EXPECT_EQ(ObjectInOutput(run.output, 4),
            "4 0 obj\n<< /Type /Page /Parent 7 0 R /MediaBox [0 0 200 200] /Contents 5 0 R >>"
            "\nendobj");
  EXPECT_EQ(ObjectInOutput(run.output, 2),
            "2 0 obj\n<</Type/Catalog/Pages 7 0 R\n/PageMode /UseOutlines\n>>\nendobj");
  // Neither the stream nor the old tree root is copied.
  EXPECT_EQ(run.output.find("/ObjStm"), std::string::npos);
  EXPECT_EQ(ObjectInOutput(run.output, 1), std::nullopt);
  EXPECT_EQ(ObjectInOutput(run.output, 3), std::nullopt);
  EXPECT_NE(run.output.find("/Kids [4 0 R  ]\n/Count 1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PackedDocument,
    ::testing::Values(ObjectStreamForm{true, 0, 1.0}, ObjectStreamForm{false, 0, 1.0},
                      ObjectStreamForm{true, 7, 1.0}, ObjectStreamForm{true, 1, 1.0}),
    [](const auto& row) {
      return std::string(row.param.deflated ? "Deflated" : "Uncompressed") +
             (row.param.pngColumns ? "PngPredictor" + std::to_string(row.param.pngColumns) : "");
    });

// Five objects of 2000 incompressible bytes each: a stream cut at some share of its data gives
// back the objects that lie wholly in what inflates, and none of the rest.
std::vector<PackedObject> LargeObjects() {
  std::vector<PackedObject> objects;
  for (int number = 2; number <= 6; ++number) {
    objects.push_back(
        {number, "<< /Filler " + NoiseString(2000, static_cast<unsigned>(number)) + " >>"});
  }
  return objects;
}

TEST(DamagedObjectStream, TruncatedDataGivesBackTheObjectsThatInflatedCompletely) {
  for (const bool deflated : {true, false}) {
    SCOPED_TRACE(deflated ? "deflated" : "uncompressed");
    PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
    // The cut keeps the header and somewhat more than two objects (of five, a fifth each).
    pdf.Object(1, ObjectStreamBody(LargeObjects(), {deflated, 0, 0.5}));
    const RepairRun run = RepairBytes(pdf.Bytes());

    ASSERT_TRUE(run.completed) << run.failureText;
    const std::vector<std::int64_t> numbers = UnpackedNumbers(run.results);
    EXPECT_GE(numbers.size(), 2u);
    EXPECT_LE(numbers.size(), 3u);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      EXPECT_EQ(numbers[i], static_cast<std::int64_t>(i) + 2);
      const auto object = ObjectInOutput(run.output, static_cast<int>(numbers[i]));
      ASSERT_TRUE(object.has_value());
      EXPECT_NE(object->find(LargeObjects()[i].body), std::string::npos);
    }
    EXPECT_EQ(run.output.find(LargeObjects().back().body), std::string::npos);
  }
}

TEST(DamagedObjectStream, ObjectOverwrittenWithJunkIsLeftOut) {
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  pdf.Object(1, ObjectStreamBody({kDocumentObjects[0],
                                  {3, "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~"},
                                  {8, "<< /A 1 >> trailing junk"},
                                  kDocumentObjects[2]}));
  const RepairRun run = RepairBytes(pdf.Bytes());

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(UnpackedNumbers(run.results), (std::vector<std::int64_t>{2, 4}));
  EXPECT_EQ(run.output.find("~~~"), std::string::npos);
}

TEST(DamagedObjectStream, WrongLengthIsNotTrustedAndDataRunsToEndstream) {
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  std::string body = ObjectStreamBody(kDocumentObjects);
  const auto length = body.find("/Length ");
  body.replace(length, body.find(' ', length + 8) - length, "/Length 999999");
  pdf.Object(1, body);
  pdf.Object(5, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
  const RepairRun run = RepairBytes(pdf.Bytes());

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(UnpackedNumbers(run.results), (std::vector<std::int64_t>{2, 3, 4}));
}

TEST(DamagedObjectStream, StreamWithoutEndobjIsUnpackedAllTheSame) {
  // Closed by the next header, or open where the source ends.
  for (const bool last : {false, true}) {
    SCOPED_TRACE(last ? "at the end" : "before object 5");
    PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
    if (last) pdf.Object(5, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
    pdf.Raw("1 0 obj\n" + ObjectStreamBody(kDocumentObjects) + "\n");
    if (!last) pdf.Object(5, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
    const RepairRun run = RepairBytes(pdf.Bytes());

    ASSERT_TRUE(run.completed) << run.failureText;
    EXPECT_EQ(UnpackedNumbers(run.results), (std::vector<std::int64_t>{2, 3, 4}));
    EXPECT_EQ(run.results.oldPagesNumber, 3);
  }
}

TEST(PackedKidsHolders, OnlyAPageTreeNodeIsTheOldPagesObject) {
  // The tree's root says /Type /Pages after its Kids; a name-tree node after it has Kids too.
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  pdf.Object(1, ObjectStreamBody({kDocumentObjects[0],
                                  {3, "<< /Kids [4 0 R] /Count 1 /Type /Pages >>"},
                                  kDocumentObjects[2],
                                  {6, "<< /Kids [4 0 R] /Limits [(a) (z)] >>"}}));
  const RepairRun run = RepairBytes(pdf.Bytes());

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(UnpackedNumbers(run.results), (std::vector<std::int64_t>{2, 3, 4, 6}));
  EXPECT_EQ(run.results.oldPagesNumber, 3);
  EXPECT_EQ(ObjectInOutput(run.output, 3), std::nullopt);
  EXPECT_EQ(ObjectInOutput(run.output, 6),
            "6 0 obj\n<< /Kids [4 0 R] /Limits [(a) (z)] >>\nendobj");
}

TEST(DamagedObjectStream, StreamThatCannotBeReadStaysAPlainObject) {
  // Data that is no zlib stream (as an encrypted stream's is): nothing is unpacked and the
  // stream is copied as it stands.
  const std::string body =
      "<< /Type /ObjStm /N 2 /First 8 /Filter /FlateDecode /Length 16 >>\nstream\n"
      "\x91\x22\xF3\x04\xB5\x66\x17\xC8\x09\xAA\x3B\xDC\x4D\xEE\x5F\x70\nendstream";
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  pdf.Object(1, body);
  const RepairRun run = RepairBytes(pdf.Bytes());

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_TRUE(UnpackedNumbers(run.results).empty());
  EXPECT_EQ(ObjectInOutput(run.output, 1), "1 0 obj\n" + body + "\nendobj");
}

TEST(DamagedObjectStream, HeaderPromisingMoreObjectsThanItHoldsGivesThoseItHolds) {
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  std::string body = ObjectStreamBody(kDocumentObjects, {false, 0, 1.0});
  body.replace(body.find("/N 3"), 4, "/N 4000000000");
  pdf.Object(1, body);
  const RepairRun run = RepairBytes(pdf.Bytes());

  ASSERT_TRUE(run.completed) << run.failureText;
  EXPECT_EQ(UnpackedNumbers(run.results), (std::vector<std::int64_t>{2, 3, 4}));
}

// Versions are ordered by where they stand: an object stream counts at its own position.
TEST(PackedVersions, PlainObjectAfterTheStreamIsNewer) {
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  pdf.Object(1, ObjectStreamBody(kDocumentObjects));
  pdf.Object(5, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
  pdf.Object(4, "<< /Type /Page /Parent 3 0 R /Rotate 90 /Contents 5 0 R >>");
  pdf.Trailer("/Size 6 /Root 2 0 R");
  const RepairRun run = RepairBytes(pdf.Bytes());

  ASSERT_TRUE(run.completed) << run.failureText;
  const auto page = ObjectInOutput(run.output, 4);
  ASSERT_TRUE(page.has_value());
  EXPECT_NE(page->find("/Rotate 90"), std::string::npos) << *page;
}

TEST(PackedVersions, PackedObjectAfterThePlainOneIsNewer) {
  PdfBuilder pdf(LineEnd::kLf, "%PDF-1.5");
  pdf.Object(4, "<< /Type /Page /Parent 3 0 R /Rotate 90 /Contents 5 0 R >>");
  pdf.Object(5, "<< /Length 8 >>\nstream\n0 0 m S\nendstream");
  pdf.Object(1, ObjectStreamBody(kDocumentObjects));
  pdf.Trailer("/Size 6 /Root 2 0 R");
  const RepairRun run = RepairBytes(pdf.Bytes());

  ASSERT_TRUE(run.completed) << run.failureText;
  const auto page = ObjectInOutput(run.output, 4);
  ASSERT_TRUE(page.has_value());
  EXPECT_NE(page->find("/MediaBox [0 0 200 200]"), std::string::npos) << *page;
  EXPECT_EQ(page->find("/Rotate 90"), std::string::npos) << *page;
}

// Whether data decodes as it stands tells a plain file from an encrypted one whose trailer was
// lost; noise often reads as a short final block of bare deflate data, but never passes a zlib
// header and checksum, so that check takes zlib data only.
TEST(StreamDecoding, ZlibCheckTakesNoBareDeflateData) {
  const std::vector<std::uint8_t> bare = {0x03, 0x00};  // a final fixed block: its end code only
  const std::string text = "0 0 m 9 9 l S";
  std::vector<std::uint8_t> wrapped(compressBound(static_cast<uLong>(text.size())));
  uLongf size = static_cast<uLongf>(wrapped.size());
  ASSERT_EQ(compress(wrapped.data(), &size, reinterpret_cast<const Bytef*>(text.data()),
                     static_cast<uLong>(text.size())),
            Z_OK);
  wrapped.resize(size);
  SourceReader bareReader(bare);
  SourceReader wrappedReader(wrapped);

  EXPECT_TRUE(CheckInflate(bareReader, 0, bareReader.Length(), 1024).complete);
  EXPECT_FALSE(CheckZlibInflate(bareReader, 0, bareReader.Length(), 1024).complete);
  const InflateCheck whole = CheckZlibInflate(wrappedReader, 0, wrappedReader.Length(), 1024);
  EXPECT_TRUE(whole.complete);
  EXPECT_EQ(whole.size, text.size());
}

}  // namespace
}  // namespace tarnwick::test
