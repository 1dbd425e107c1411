// What Step 1 records from each keyword: objects, pages, the catalog, trailers and Kids arrays.
#include <gtest/gtest.h>

#include <tuple>

#include "pdf_builder.h"
#include "repair_harness.h"

namespace tarnwick::test {
namespace {

using Entries = std::vector<KidsEntry>;

ScanResults Scan(const PdfBuilder& pdf) {
  RepairRun run = RepairBytes(pdf.Bytes());
  EXPECT_TRUE(run.completed) << run.failureText;
  return run.results;
}

class ObjectRule : public testing::TestWithParam<LineEnd> {};

TEST_P(ObjectRule, RecordsHeaderLineStartAndTheEOfEndobj) {
  PdfBuilder pdf(GetParam());
  pdf.Object(12, "<< /Producer (x) >>");
  const ScanResults results = Scan(pdf);
  ASSERT_EQ(results.objects.size(), 1u);
  EXPECT_EQ(results.objects[0].number, 12);
  EXPECT_EQ(results.objects[0].start, pdf.OffsetOf(12));
  EXPECT_EQ(results.objects[0].end, pdf.Find("endobj"));
}

TEST_P(ObjectRule, HeaderOfAnyGenerationIsRecordedWithIt) {
  PdfBuilder pdf(GetParam());
  pdf.Object(12, "<< >>", 1);
  const ScanResults results = Scan(pdf);
  ASSERT_EQ(results.objects.size(), 1u);
  EXPECT_EQ(results.objects[0].number, 12);
  EXPECT_EQ(results.objects[0].generation, 1);
}

TEST_P(ObjectRule, NumberAndStartAreTheHeadersOwnWhateverStandsBeforeOnItsLine) {
  PdfBuilder pdf(GetParam());
  pdf.Raw("   7 0 obj").Eol().Raw("1").Eol().Raw("endobj").Eol();
  pdf.Raw("x 8 0 obj").Eol().Raw("2").Eol().Raw("endobj 9 0 obj").Eol().Raw("3").Eol();
  pdf.Raw("endobj").Eol();
  const ScanResults results = Scan(pdf);
  ASSERT_EQ(results.objects.size(), 3u);
  EXPECT_EQ(results.objects[0].number, 7);
  EXPECT_EQ(results.objects[0].start, pdf.Find("7 0 obj"));
  EXPECT_EQ(results.objects[1].number, 8);
  EXPECT_EQ(results.objects[1].start, pdf.Find("8 0 obj"));
  EXPECT_EQ(results.objects[2].number, 9);
  EXPECT_EQ(results.objects[2].start, pdf.Find("9 0 obj"));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, ObjectRule,
                         testing::Values(LineEnd::kLf, LineEnd::kCr, LineEnd::kCrLf));

// One header form after a closed object 1: whether it opens an object, with which number,
// generation and first byte.
struct HeaderForm {
  const char* text;
  bool isHeader;
  std::int64_t number = 0;
  std::uint16_t generation = 0;
  std::size_t numberAt = 0;  // within the text
};

class ObjectHeaderForm : public testing::TestWithParam<HeaderForm> {};

TEST_P(ObjectHeaderForm, IsRecognisedOnlyWhenWellFormed) {
  const HeaderForm& form = GetParam();
  PdfBuilder pdf;
  pdf.Object(1, "<< >>").Raw(form.text).Eol().Raw("<< >>").Eol().Raw("endobj").Eol();
  const ScanResults results = Scan(pdf);
  ASSERT_EQ(results.objects.size(), form.isHeader ? 2u : 1u);
  if (!form.isHeader) return;
  EXPECT_EQ(results.objects[1].number, form.number);
  EXPECT_EQ(results.objects[1].generation, form.generation);
  EXPECT_EQ(results.objects[1].start, pdf.Find(form.text) + form.numberAt);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ObjectHeaderForm,
    testing::Values(HeaderForm{"12\n0\nobj", true, 12}, HeaderForm{"12 \t 0\r\n\fobj", true, 12},
                    HeaderForm{"12 65535 obj", true, 12, 65535},
                    HeaderForm{"12 00001 obj", true, 12, 1},
                    HeaderForm{"(x)12 0 obj", true, 12, 0, 3}, HeaderForm{"-1 0 obj", true, -1},
                    HeaderForm{"[+5 0 obj", true, 5, 0, 1}, HeaderForm{"12 65536 obj", false},
                    HeaderForm{"12 000000 obj", false}, HeaderForm{"x-5 0 obj", false},
                    HeaderForm{"--5 0 obj", false}, HeaderForm{"a12 0 obj", false},
                    HeaderForm{"12 0obj", false}, HeaderForm{"12 R obj", false}));

// Objects whose "endobj" is missing: each ends where the next header begins (its sign included,
// whatever stands before it on its line), or with the source when none follows. An "endobj"
// with no object open records nothing.
struct UnclosedObjects {
  const char* name;
  const char* text;
  // Number, the text its header starts with, and the text it ends at (null: the source's end).
  std::vector<std::tuple<std::int64_t, const char*, const char*>> objects;
};

class ObjectWithoutEndobj : public testing::TestWithParam<UnclosedObjects> {};

TEST_P(ObjectWithoutEndobj, EndsWhereTheNextHeaderOrTheSourceBegins) {
  PdfBuilder pdf;
  pdf.Raw(GetParam().text);
  const ScanResults results = Scan(pdf);
  std::vector<std::tuple<std::int64_t, std::uint64_t, std::uint64_t>> found;
  std::vector<std::tuple<std::int64_t, std::uint64_t, std::uint64_t>> expected;
  for (const ObjectRecord& record : results.objects) {
    found.emplace_back(record.number, record.start, record.end);
  }
  for (const auto& [number, header, end] : GetParam().objects) {
    const std::size_t start = pdf.Find(header);
    expected.emplace_back(number, start, end ? pdf.Find(end, start + 1) : pdf.Size());
  }
  EXPECT_EQ(found, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ObjectWithoutEndobj,
    testing::Values(
        UnclosedObjects{"NextHeader",
                        "1 0 obj\n<< /A 1 >>\n2 0 obj\n<< /B 2 >>\nendobj\n",
                        {{1, "1 0 obj", "2 0 obj"}, {2, "2 0 obj", "endobj"}}},
        UnclosedObjects{"SignedHeaderAfterText",
                        "1 0 obj\n[1 2]x -3 0 obj\n(c)\nendobj\n",
                        {{1, "1 0 obj", "-3 0 obj"}, {-3, "-3 0 obj", "endobj"}}},
        UnclosedObjects{"CutInsideTheLast",
                        "1 0 obj\n1\nendobj\n2 0 obj\n<< /B (cut",
                        {{1, "1 0 obj", "endobj"}, {2, "2 0 obj", nullptr}}},
        UnclosedObjects{
            "NoEndobjAtAll",
            "1 0 obj\n1\n2 0 obj\n2\n3 0 obj\n3\n",
            {{1, "1 0 obj", "2 0 obj"}, {2, "2 0 obj", "3 0 obj"}, {3, "3 0 obj", nullptr}}},
        UnclosedObjects{
            "StrayEndobjs", "endobj\n1 0 obj\n1\nendobj\nendobj\n", {{1, "1 0 obj", "endobj"}}}),
    [](const testing::TestParamInfo<UnclosedObjects>& row) { return row.param.name; });

TEST(PageRule, RecordsPageDictionariesButNotPageTreeNodes) {
  PdfBuilder pdf;
  pdf.Object(2, "<< /Type /Pages /Kids [5 0 R] /Count 1 >>");
  pdf.Object(5, "<< /Type /Page /Parent 2 0 R >>");
  pdf.Object(6, "<</Type/Page/Parent 2 0 R>>");
  EXPECT_EQ(Scan(pdf).pages, (std::vector<std::int64_t>{5, 6}));
}

TEST(PageRule, NamesThatOnlyBeginWithPageAreNoPages) {
  for (const char* entry : {"/PageMode /UseNone", "/PageLayout /OneColumn", "/PageLabels << >>"}) {
    PdfBuilder pdf;
    pdf.Object(1, std::string("<< /Type /Catalog ") + entry + " /Pages 2 0 R >>");
    pdf.Object(3, "<</Type/Page/Parent 2 0 R>>");
    pdf.Object(4, "<< /Type /Page%first page\n>>");
    EXPECT_EQ(Scan(pdf).pages, (std::vector<std::int64_t>{3, 4})) << entry;
  }
}

TEST(PageRule, TypeMayStandUpToFourBlanksBeforePage) {
  PdfBuilder pdf;
  pdf.Object(3, "<< /Type   /Page >>");    // three blanks
  pdf.Object(4, "<< /Type    /Page >>");   // four
  pdf.Object(5, "<< /Type     /Page >>");  // five: no slash where the rule looks
  EXPECT_EQ(Scan(pdf).pages, (std::vector<std::int64_t>{3, 4}));
}

TEST(CatalogRule, DictionaryMustOpenWithin21BytesBeforeCatalog) {
  PdfBuilder near;
  near.Object(1, "<<" + std::string(12, ' ') + "/Type /Catalog >>");
  ASSERT_EQ(near.Find("Catalog") - near.Find("<<"), 21u);
  EXPECT_EQ(Scan(near).catalogNumber, 1);

  PdfBuilder far;
  far.Object(1, "<<" + std::string(13, ' ') + "/Type /Catalog >>");
  EXPECT_EQ(Scan(far).catalogNumber, 0);
}

TEST(TrailerRule, ReadsSizeAndRoot) {
  PdfBuilder pdf;
  pdf.Object(1, "<< /Type /Catalog >>").Trailer("/Size 12 /Root 1 0 R /Info 2 0 R");
  const RepairRun run = RepairBytes(pdf.Bytes());
  const ScanResults& results = run.results;
  ASSERT_EQ(results.trailersFound, 1u);
  EXPECT_EQ(results.trailer->offset, pdf.Find("trailer"));
  EXPECT_EQ(results.trailer->size, 12);
  EXPECT_EQ(results.trailer->root, 1);
  EXPECT_FALSE(results.trailerIncomplete);
  EXPECT_FALSE(run.rebuilt.fallbackTrailer.has_value());
}

TEST(TrailerRule, TrailerWithoutSizeOrRootGivesWayToOneMadeFromTheScan) {
  for (const char* entries : {"/Root 1 0 R", "/Size 2"}) {
    PdfBuilder pdf;
    pdf.Object(1, "<< /Type /Catalog >>").Trailer(entries);
    const RepairRun run = RepairBytes(pdf.Bytes());
    EXPECT_TRUE(run.results.trailerIncomplete) << entries;
    ASSERT_TRUE(run.rebuilt.fallbackTrailer.has_value()) << entries;
    EXPECT_EQ(run.rebuilt.fallbackTrailer->size, 1) << entries;
    EXPECT_EQ(run.rebuilt.fallbackTrailer->root, 1) << entries;
  }
}

TEST(TrailerRule, StringsAndNestedDictionariesBeforeRootAreSteppedOver) {
  for (const char* id : {"/ID [<0A1B> <2C3D>]", "/ID [(a>b) (c\\)>)]", "/Info << /Title (x) >>",
                         "/A << /B << >> /C [<<>>] >>"}) {
    PdfBuilder pdf;
    pdf.Object(1, "<< >>").Trailer(std::string("/Size 2 ") + id + " /Root 1 0 R");
    const ScanResults results = Scan(pdf);
    ASSERT_EQ(results.trailersFound, 1u) << id;
    EXPECT_EQ(results.trailer->root, 1) << id;
    EXPECT_FALSE(results.trailerIncomplete) << id;
  }
}

TEST(TrailerRule, TheTrailersOwnEndEndsTheWalk) {
  PdfBuilder pdf;
  pdf.Object(1, "<< >>").Trailer("/Root 1 0 R /Info << /Title (x) >> /Size 3");
  pdf.Object(4, "<< /FunctionType 0 /Size [2] /Root 4 0 R >>");
  const ScanResults results = Scan(pdf);
  ASSERT_EQ(results.trailersFound, 1u);
  EXPECT_EQ(results.trailer->size, 3);
  EXPECT_EQ(results.trailer->root, 1);
}

TEST(TrailerRule, LaterTrailerOfAnIncrementalUpdateCounts) {
  PdfBuilder pdf;
  pdf.Object(1, "<< >>").Trailer("/Size 2 /Root 1 0 R");
  pdf.Object(3, "<< >>").Trailer("/Size 4 /Root 3 0 R");
  const RepairRun run = RepairBytes(pdf.Bytes());
  ASSERT_EQ(run.results.trailersFound, 2u);
  EXPECT_EQ(run.rebuilt.trailer.root, 3);
  EXPECT_NE(run.output.find("3 0 obj\n<</Type/Catalog/Pages 5 0 R"), std::string::npos);
  EXPECT_NE(run.output.find("/Root 3 0 R  \r\n>>"), std::string::npos);
}

TEST(KidsRule, RecordsHolderAndReferencesNewestFirst) {
  PdfBuilder pdf;
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R 5 0 R 9 0 R] /Count 3 >>");
  const ScanResults results = Scan(pdf);
  EXPECT_EQ(results.oldPagesNumber, 2);
  EXPECT_EQ(KidsList(results), (Entries{{3, 9}, {2, 5}, {1, 3}}));
}

TEST(KidsRule, EmptyArrayAddsNothing) {
  PdfBuilder pdf;
  pdf.Object(2, "<< /Type /Pages /Kids [] /Count 0 >>");
  const ScanResults results = Scan(pdf);
  EXPECT_EQ(results.oldPagesNumber, 2);
  EXPECT_TRUE(KidsList(results).empty());
}

// A Kids holder 9 written after the page-tree root 2: the old Pages object only when its own
// bytes, up to its "endobj", the next header or the source's end, name it /Type /Pages. Its
// array is read either way.
struct LaterKidsHolder {
  const char* name;
  const char* text;
  std::int64_t oldPages;
};

class KidsHolder : public testing::TestWithParam<LaterKidsHolder> {};

TEST_P(KidsHolder, IsTheOldPagesObjectOnlyAsAPageTreeNode) {
  PdfBuilder pdf;
  pdf.Object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>").Raw(GetParam().text);
  const ScanResults results = Scan(pdf);
  EXPECT_EQ(results.oldPagesNumber, GetParam().oldPages);
  EXPECT_EQ(KidsList(results), (Entries{{1, 3}, {1, 3}}));
}

INSTANTIATE_TEST_SUITE_P(
    Holders, KidsHolder,
    testing::Values(
        LaterKidsHolder{"FormField", "9 0 obj\n<< /FT /Btn /T (f) /Kids [3 0 R] >>\nendobj\n", 2},
        LaterKidsHolder{"NameTreeNode", "9 0 obj\n<< /Kids [3 0 R] /Limits [(a) (z)] >>\nendobj\n",
                        2},
        LaterKidsHolder{"OtherType", "9 0 obj\n<< /Type /Outlines /Kids [3 0 R] >>\nendobj\n", 2},
        LaterKidsHolder{"LongerName", "9 0 obj\n<< /Type /PagesX /Kids [3 0 R] >>\nendobj\n", 2},
        LaterKidsHolder{"TypeAfterKids", "9 0 obj\n<< /Kids [3 0 R] /Type /Pages >>\nendobj\n", 9},
        LaterKidsHolder{"NoBlanks", "9 0 obj\n<</Type/Pages/Kids[3 0 R]>>\nendobj\n", 9},
        LaterKidsHolder{"AcrossALineEnd", "9 0 obj\n<< /Type\r\n/Pages /Kids [3 0 R] >>\nendobj\n",
                        9},
        LaterKidsHolder{"TypeAfterItsEndobj", "9 0 obj\n<< /Kids [3 0 R] >>\nendobj /Type /Pages\n",
                        2},
        LaterKidsHolder{"TypeInTheNextObject",
                        "9 0 obj\n<< /Kids [3 0 R] >>\n10 0 obj\n<< /Type /Pages >>\nendobj\n", 2},
        LaterKidsHolder{"TypeAtTheSourcesEnd", "9 0 obj\n<< /Kids [3 0 R] /Type /Pages", 9}),
    [](const testing::TestParamInfo<LaterKidsHolder>& row) { return row.param.name; });

TEST(KidsRule, KidsBeforeAnyObjectIsReadAndTheScanGoesOn) {
  PdfBuilder pdf;
  pdf.Raw("/Kids [4 0 R]").Eol().PadTo(600);
  pdf.Object(4, "<< /Type /Page >>").Trailer("/Size 5 /Root 1 0 R");
  const ScanResults results = Scan(pdf);
  EXPECT_EQ(results.oldPagesNumber, 0);
  EXPECT_EQ(KidsList(results), (Entries{{1, 4}}));
  ASSERT_EQ(results.objects.size(), 1u);
  EXPECT_EQ(results.pages, (std::vector<std::int64_t>{4}));
  EXPECT_EQ(results.trailersFound, 1u);
}

}  // namespace
}  // namespace tarnwick::test
