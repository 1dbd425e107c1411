// What a repair and a check say about each kind of damage: the finding that describes it and
// none that does not, which old pages were lost, which were kept in part; and nothing at all
// about an intact document.
#include <algorithm>
#include <iterator>

#include "damages.h"
#include "engine_repair.h"
#include "oracle_fixture.h"

namespace tarnwick::oracle {
namespace {

using Words = std::set<std::string>;

Words FindingWords(const SourceFindings& found) {
  Words words;
  if (found.header == HeaderState::kMissing) words.insert("header-missing");
  if (found.header == HeaderState::kDamaged) words.insert("header-damaged");
  if (found.header == HeaderState::kAfterJunk) words.insert("header-after-junk");
  if (found.xref == XrefState::kMissing) words.insert("xref-missing");
  if (found.xref == XrefState::kWrongOffsets) words.insert("xref-wrong-offsets");
  if (found.xref == XrefState::kUnreadable) words.insert("xref-unreadable");
  if (found.startxref == StartxrefState::kMissing) words.insert("startxref-missing");
  if (found.startxref == StartxrefState::kWrong) words.insert("startxref-wrong");
  if (found.trailer == TrailerState::kMissing) words.insert("trailer-missing");
  if (found.trailer == TrailerState::kWithoutRoot) words.insert("trailer-without-root");
  if (found.trailer == TrailerState::kRootLost) words.insert("catalog-lost");
  if (found.trailer == TrailerState::kDamaged) words.insert("trailer-damaged");
  if (found.pageTree == PageTreeState::kMissing) words.insert("page-tree-missing");
  if (found.pageTree == PageTreeState::kBroken) words.insert("page-tree-broken");
  if (found.truncated) words.insert("truncated");
  if (found.lostObjectCount > 0) words.insert("objects-lost");
  return words;
}

// Every `from` in `pdf` made `to`, of the same length.
std::string Replaced(std::string pdf, const std::string& from, const std::string& to) {
  for (auto at = pdf.find(from); at != std::string::npos; at = pdf.find(from, at + to.size())) {
    pdf.replace(at, from.size(), to);
  }
  return pdf;
}

std::string Joined(const Words& words) {
  std::string text;
  for (const std::string& word : words) text += word + " ";
  return text;
}

class OracleFindings : public OracleDocumentTest {
 protected:
  void SetUp() override {
    OracleDocumentTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_GE(pages_.size(), 2u);
  }

  EngineRepair Repair(const std::string& label, const std::string& bytes) {
    const auto path = work_ / (label + ".pdf");
    test::WriteFile(path, bytes);
    const auto out = work_ / ("out-" + label);
    std::filesystem::create_directory(out);
    return RepairInto(path, out);
  }

  test::TempFolder work_;
};

TEST_P(OracleFindings, IntactDocumentsHaveNoFinding) {
  const RepairOutcome check = CheckWithEngine(original_);
  EXPECT_EQ(check.status, RepairStatus::kIntact);
  ASSERT_TRUE(check.source);
  EXPECT_EQ(Joined(FindingWords(*check.source)), "");
  EXPECT_EQ(check.source->wrongOffsetCount, 0u);
  EXPECT_EQ(check.found.pagesInOldTree, pages_.size());
  EXPECT_FALSE(check.found.pagesRecovered);

  const RepairOutcome repair = Repair("intact", bytes_).outcome;
  EXPECT_EQ(repair.status, RepairStatus::kRepaired);
  EXPECT_EQ(repair.found.pagesRecovered, pages_.size());
  EXPECT_TRUE(repair.found.lostPages.empty());
  EXPECT_TRUE(repair.mended.streams.empty() && repair.mended.objects.empty());
  // The incremental update replaced one content stream; nothing else has an older version.
  EXPECT_EQ(repair.found.versionsDropped, GetParam() == "incremental" ? 1u : 0u);
  EXPECT_EQ(repair.sourceBytes, bytes_.size());
  EXPECT_EQ(repair.outputBytes, std::filesystem::file_size(repair.outputPath));
}

TEST_P(OracleFindings, EachDamageGivesTheFindingThatDescribesIt) {
  struct Damage {
    std::string label;
    std::string bytes;
    Words required;
    Words allowed;  // what follows from the damage in some layouts
  };
  const Words tailLost = {"xref-missing",      "startxref-missing", "trailer-missing",
                          "page-tree-missing", "page-tree-broken",  "catalog-lost"};
  const Damage damages[] = {
      {"truncated", CutTail(bytes_, bytes_.size() / 2), {"truncated", "startxref-missing"}, tailLost},
      {"zeroed-tail", ZeroedTail(bytes_, bytes_.size() * 3 / 4), {"truncated"}, tailLost},
      {"xref-zeroed", ZeroedXrefSections(bytes_), {"xref-missing"}, {}},
      {"xref-junk", JunkXrefSections(bytes_), {"xref-missing"}, {}},
      {"startxref-wrong", GarbledStartXref(bytes_), {"startxref-wrong"}, {}},
      // Taking the trailers out moves what an update appended after them.
      {"trailer-gone", WithoutTrailers(bytes_), {"trailer-missing"},
       {"xref-wrong-offsets", "startxref-wrong"}},
      {"trailer-damaged", Replaced(bytes_, "/Size", "/Sise"), {"trailer-damaged"}, {}},
      {"page-tree-gone", WithoutObjectsHolding(bytes_, "/Type /Pages"),
       {"page-tree-missing", "objects-lost"}, {}},
      {"catalog-gone", WithoutObjectsHolding(bytes_, "/Type /Catalog"),
       {"catalog-lost", "objects-lost"}, {}},
      {"junk", WithJunkAfterHeader(bytes_, 1000), {"xref-wrong-offsets"}, {"startxref-wrong"}},
      {"flipped", FlippedStreamData(bytes_, pages_.front().contents.front()), {}, {}},
      {"crlf", LfToCrLf(bytes_), {"xref-wrong-offsets"}, {"startxref-wrong"}},
      {"no-header", bytes_.substr(9), {"header-missing", "xref-wrong-offsets"}, {"startxref-wrong"}},
      // Readers count offsets from the header then, and so does the check: not damage.
      {"junk-before-header", "HTTP/1.1 200 OK\r\n\r\n" + bytes_, {"header-after-junk"}, {}},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.label);
    const auto path = work_ / (damage.label + "-check.pdf");
    test::WriteFile(path, damage.bytes);
    const RepairOutcome check = CheckWithEngine(path);
    ASSERT_TRUE(check.source);
    const Words found = FindingWords(*check.source);
    Words missing, extra;
    std::set_difference(damage.required.begin(), damage.required.end(), found.begin(), found.end(),
                        std::inserter(missing, missing.end()));
    for (const std::string& word : found) {
      if (!damage.required.contains(word) && !damage.allowed.contains(word)) extra.insert(word);
    }
    EXPECT_EQ(Joined(missing), "") << "found: " << Joined(found);
    EXPECT_EQ(Joined(extra), "") << "found: " << Joined(found);
    const bool damaged = std::any_of(found.begin(), found.end(),
                                     [](const std::string& word) { return word != "header-after-junk"; });
    EXPECT_EQ(check.status, damaged ? RepairStatus::kNeedsRepair : RepairStatus::kIntact);
    EXPECT_TRUE(check.source->wrongOffsetCount == 0 || found.contains("xref-wrong-offsets"));

    const RepairOutcome repair = Repair(damage.label, damage.bytes).outcome;
    ASSERT_TRUE(repair.source);
    EXPECT_EQ(Joined(FindingWords(*repair.source)), Joined(found)) << "the repair saw otherwise";
  }
}

TEST_P(OracleFindings, LostAndPartlyKeptPagesAreNamed) {
  // The second page's object gone: the copy lists the others and names the position it lost.
  const RepairOutcome lost = Repair("page-lost", WithoutObject(bytes_, pages_[1].page)).outcome;
  EXPECT_EQ(lost.status, RepairStatus::kRepairedWithLosses);
  ASSERT_TRUE(lost.source);
  EXPECT_EQ(lost.source->pageTree, PageTreeState::kBroken);
  EXPECT_EQ(lost.found.pagesInOldTree, pages_.size());
  EXPECT_EQ(lost.found.pagesRecovered, pages_.size() - 1);
  EXPECT_EQ(lost.found.lostPages, (std::vector<PageRange>{{2, 2}}));

  // The first page's content damaged: the page is kept in part, the mend names the stream and
  // where its newest version stands in the source.
  const int content = pages_.front().contents.front();
  const std::string flipped = FlippedStreamData(bytes_, content);
  const RepairOutcome partly = Repair("page-in-part", flipped).outcome;
  EXPECT_TRUE(partly.found.lostPages.empty());
  if (GetParam() == "qdf" || GetParam() == "incremental") {
    // Their first page's content is not compressed: its damage cannot be told from content.
    EXPECT_EQ(partly.status, RepairStatus::kRepaired);
    return;
  }
  EXPECT_EQ(partly.status, RepairStatus::kRepairedWithLosses);
  EXPECT_EQ(partly.mended.pagesKeptInPart, std::vector<std::int64_t>{pages_.front().page});
  ASSERT_FALSE(partly.mended.streams.empty());
  EXPECT_EQ(partly.mended.streams.front().number, content);
  EXPECT_EQ(partly.mended.streams.front().offset,
            flipped.rfind("\n" + std::to_string(content) + " 0 obj") + 1);
}

INSTANTIATE_TEST_SUITE_P(Producers, OracleFindings,
                         ::testing::ValuesIn(SampleDocuments::Producers()),
                         [](const auto& row) { return row.param; });

}  // namespace
}  // namespace tarnwick::oracle
