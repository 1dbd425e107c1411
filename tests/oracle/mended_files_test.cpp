// Objects lost or damaged in a document: the repaired copy opens clean in strict readers, keeps
// its pages and the text that survived, and stands something in for what was lost.
#include <zlib.h>

#include <algorithm>

#include "engine_repair.h"
#include "oracle_fixture.h"
#include "pdf_builder.h"

namespace tarnwick::oracle {
namespace {

// Two pages: the first draws text from two content streams, the second stream also an image;
// the second page's content is compressed. One font serves both. With `twoLevels` the pages hang
// from an inner node of the page tree.
std::string Document(bool twoLevels = false) {
  std::string compressed;
  {
    std::string text;
    for (int line = 0; line < 12; ++line) {
      text += "BT /F1 12 Tf 20 " + std::to_string(270 - 20 * line) + " Td (Page two line " +
              std::to_string(line) + ") Tj ET\n";
    }
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    compressed.resize(size);
    compress(reinterpret_cast<Bytef*>(compressed.data()), &size,
             reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()));
    compressed.resize(size);
  }
  const std::string first = "BT /F1 14 Tf 20 250 Td (First stream text) Tj ET";
  const std::string second =
      "BT /F1 14 Tf 20 200 Td (Second stream text) Tj ET q 50 0 0 50 20 20 cm /Im1 Do Q";
  auto stream = [](const std::string& dictionary, const std::string& data) {
    return "<< " + dictionary + "/Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
           "\nendstream";
  };
  const std::string parent = twoLevels ? "30" : "2";
  test::PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R /Outlines 20 0 R >>")
      .Object(2, twoLevels ? "<< /Type /Pages /Kids [30 0 R] /Count 2 >>"
                           : "<< /Type /Pages /Kids [3 0 R 10 0 R] /Count 2 >>")
      .Object(3,
              "<< /Type /Page /Parent " + parent +
                  " 0 R /MediaBox [0 0 300 300] /Contents [4 0 R 5 0 R]\n"
              "   /Resources << /Font << /F1 6 0 R >> /XObject << /Im1 7 0 R >> >> >>")
      .Object(4, stream("", first))
      .Object(5, stream("", second))
      .Object(6, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
      .Object(7, stream("/Type /XObject /Subtype /Image /Width 2 /Height 2 /ColorSpace /DeviceGray "
                        "/BitsPerComponent 8 ",
                        std::string("\x00\x80\x80\xff", 4)))
      .Object(10,
              "<< /Type /Page /Parent " + parent +
                  " 0 R /MediaBox [0 0 300 300] /Contents 11 0 R\n"
              "   /Resources << /Font << /F1 6 0 R >> >> /Rotate 0 /Annots [] >>")
      .Object(11, stream("/Filter /FlateDecode ", compressed))
      .Object(20, "<< /Type /Outlines /Count 0 >>");
  if (twoLevels) pdf.Object(30, "<< /Type /Pages /Parent 2 0 R /Kids [3 0 R 10 0 R] /Count 2 >>");
  pdf.XrefTable().Trailer(twoLevels ? "/Size 31 /Root 1 0 R" : "/Size 21 /Root 1 0 R");
  return pdf.Bytes();
}

// The object `number` blanked from its header to its "endobj", keeping every offset.
std::string WithoutObject(std::string pdf, int number) {
  const std::size_t start = pdf.find("\n" + std::to_string(number) + " 0 obj") + 1;
  const std::size_t end = pdf.find("endobj", start) + 6;
  std::fill(pdf.begin() + static_cast<std::ptrdiff_t>(start),
            pdf.begin() + static_cast<std::ptrdiff_t>(end), ' ');
  return pdf;
}

// `count` bytes from the first `at` overwritten with `junk`.
std::string Overwritten(std::string pdf, const std::string& at, std::size_t count, char junk) {
  const std::size_t from = pdf.find(at);
  std::fill_n(pdf.begin() + static_cast<std::ptrdiff_t>(from), count, junk);
  return pdf;
}

struct Loss {
  const char* name;
  std::string (*damage)(const std::string&);
  std::vector<std::string> textKept;
  std::vector<std::string> textLost;
};

class OracleMendedFile : public OracleTest<Loss> {};

TEST_P(OracleMendedFile, CopyOpensCleanAndKeepsWhatSurvived) {
  const Loss& loss = GetParam();
  const test::TempFolder work;
  const auto source = work / "damaged.pdf";
  test::WriteFile(source, loss.damage(Document()));
  const auto out = work / "out";
  std::filesystem::create_directory(out);
  const EngineRepair repair = RepairInto(source, out);
  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_GT(repair.Mends(), 0u);
  const CommandResult check = QpdfCheck(repair.output);
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  EXPECT_EQ(RenderErrors(repair.output), "");
  EXPECT_EQ(PdfinfoPages(repair.output), 2);
  const std::string text = PageText(repair.output);
  for (const std::string& kept : loss.textKept) EXPECT_NE(text.find(kept), std::string::npos) << kept;
  for (const std::string& lost : loss.textLost) EXPECT_EQ(text.find(lost), std::string::npos) << lost;
}

INSTANTIATE_TEST_SUITE_P(
    Losses, OracleMendedFile,
    testing::Values(
        Loss{"FontRemoved", [](const std::string& pdf) { return WithoutObject(pdf, 6); },
             {"First stream text", "Second stream text", "Page two line 11"}, {}},
        Loss{"ImageRemoved", [](const std::string& pdf) { return WithoutObject(pdf, 7); },
             {"First stream text", "Second stream text"}, {}},
        Loss{"OneOfTwoContentStreamsRemoved",
             [](const std::string& pdf) { return WithoutObject(pdf, 5); },
             {"First stream text", "Page two line 0"}, {"Second stream text"}},
        Loss{"OutlinesRemoved", [](const std::string& pdf) { return WithoutObject(pdf, 20); },
             {"First stream text", "Page two line 0"}, {}},
        Loss{"StreamKeywordOverwritten",
             [](const std::string& pdf) { return Overwritten(pdf, "stream\nBT /F1 14", 6, 'x'); },
             {"First stream text", "Second stream text"}, {}},
        Loss{"DictionaryOverwrittenMidway",
             [](const std::string& pdf) { return Overwritten(pdf, "/Rotate 0 /Annots", 14, ')'); },
             {"Page two line 0", "Page two line 11"}, {}},
        Loss{"CompressedContentCut",
             [](const std::string& pdf) {
               const std::size_t data = pdf.find("stream\n", pdf.find("\n11 0 obj")) + 7;
               const std::size_t end = pdf.find("\nendstream", data);
               std::string damaged = pdf;
               std::fill(damaged.begin() + static_cast<std::ptrdiff_t>(data + (end - data) * 2 / 3),
                         damaged.begin() + static_cast<std::ptrdiff_t>(end), '\0');
               return damaged;
             },
             {"First stream text", "Page two line 0"}, {"Page two line 11"}}),
    [](const testing::TestParamInfo<Loss>& row) { return row.param.name; });

// The document under a page tree of two levels, whose inner node names the root as its parent.
std::string TwoLevelDocument() { return Document(true); }

class OracleIntactDocument : public OracleTest<std::string (*)()> {};

TEST_P(OracleIntactDocument, IsNotMended) {
  const test::TempFolder work;
  const auto source = work / "intact.pdf";
  test::WriteFile(source, GetParam()());
  ASSERT_EQ(QpdfCheck(source).status, 0);
  const auto out = work / "out";
  std::filesystem::create_directory(out);
  const EngineRepair repair = RepairInto(source, out);
  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_EQ(repair.Mends(), 0u);
  EXPECT_EQ(RenderErrors(repair.output), "");
}

INSTANTIATE_TEST_SUITE_P(Trees, OracleIntactDocument, testing::Values(+[] { return Document(); }, TwoLevelDocument));

}  // namespace
}  // namespace tarnwick::oracle
