// Damaged copies of the sample documents: the repaired copy must be a valid file and keep every
// page whose objects the damage left whole, and the damaged file itself must stay as it was.
#include <algorithm>
#include <iostream>
#include <iterator>
#include <tuple>

#include "damages.h"
#include "engine_repair.h"
#include "oracle_fixture.h"

namespace tarnwick::oracle {
namespace {

class OracleDamagedFile : public OracleDocumentTest {
 protected:
  void SetUp() override {
    OracleDocumentTest::SetUp();
    if (HasFatalFailure()) return;
    intact_ = RepairInto(original_, intactOut_.Path());
    ASSERT_TRUE(intact_.repaired) << intact_.failure;
    intactPages_ = PageNumbersOf(QpdfPages(intact_.output));
  }

  // The pages the intact repair kept whose page object and content streams all end within
  // `limit` bytes. The damages keep every offset in front of the damaged place, so the engine
  // reads that part exactly as in the intact file; whether the intact repair keeps every page
  // is the intact test's concern.
  std::set<int> SparedPages(std::size_t limit) const {
    std::set<int> spared;
    for (const PageObjects& page : pages_) {
      std::vector<int> objects = page.contents;
      objects.push_back(page.page);
      if (intactPages_.contains(page.page) &&
          std::all_of(objects.begin(), objects.end(),
                      [&](int n) { return LastObjectEnd(bytes_, n, limit) > 0; })) {
        spared.insert(page.page);
      }
    }
    return spared;
  }

  // Repairs the damaged bytes and checks what every damage must keep: the job ends well, the
  // damaged file is unchanged, the copy lists no page the original lacks and every page of
  // `expected`, and, with `clean`, passes qpdf --check.
  EngineRepair RepairDamaged(const std::string& label, const std::string& damaged,
                             const std::set<int>& expected, bool clean = true) {
    const auto path = work_ / (label + ".pdf");
    test::WriteFile(path, damaged);
    const auto out = work_ / ("out-" + label);
    std::filesystem::create_directory(out);
    const EngineRepair repair = RepairInto(path, out);
    EXPECT_TRUE(repair.repaired) << repair.failure;
    EXPECT_EQ(test::ReadFile(path), damaged) << "the damaged source was changed";
    const std::set<int> kept = PageNumbersOf(QpdfPages(repair.output));
    const std::set<int> all = PageNumbersOf(pages_);
    EXPECT_TRUE(std::includes(all.begin(), all.end(), kept.begin(), kept.end()));
    std::vector<int> lost;
    std::set_difference(expected.begin(), expected.end(), kept.begin(), kept.end(),
                        std::back_inserter(lost));
    EXPECT_TRUE(lost.empty()) << "lost page object " << lost.front() << " of " << expected.size()
                              << " expected";
    if (clean) {
      const CommandResult check = QpdfCheck(repair.output);
      EXPECT_EQ(check.status, 0) << "qpdf --check " << repair.output << "\n"
                                 << check.out << check.err;
    }
    std::cout << "[ pages    ] " << GetParam() << " " << label << ": " << kept.size() << " of "
              << all.size() << " kept, " << expected.size() << " expected\n";
    return repair;
  }

  test::TempFolder intactOut_;
  EngineRepair intact_;
  std::set<int> intactPages_;
  test::TempFolder work_;
};

TEST_P(OracleDamagedFile, TailCutsKeepEveryPageWhoseObjectsSurvived) {
  // Several fractions, and just before the last cross-reference section, where every object
  // is still whole. The object a fraction cuts is copied as far as it goes, which qpdf warns
  // about; the copy of a file whose objects are whole is clean.
  std::vector<std::pair<std::string, std::size_t>> cuts;
  for (const int percent : {30, 50, 70, 90}) {
    cuts.emplace_back("cut-" + std::to_string(percent), bytes_.size() * static_cast<std::size_t>(percent) / 100);
  }
  cuts.emplace_back("cut-at-xref", LastXrefSection(bytes_));
  for (const auto& [label, keep] : cuts) {
    SCOPED_TRACE(label);
    RepairDamaged(label, CutTail(bytes_, keep), SparedPages(keep), label == "cut-at-xref");
  }
}

// Without its "endobj" lines each object runs to the next header, the last one over the
// cross-reference section and trailer to the end of the file, which its copy keeps: qpdf warns
// about that object, but every page and its text are there.
TEST_P(OracleDamagedFile, BrokenFileStructureCostsNothing) {
  const std::tuple<std::string, std::string, bool> damages[] = {
      {"xref-junk", JunkXrefSections(bytes_), true},
      {"no-trailer", WithoutTrailers(bytes_), true},
      {"startxref-garbled", GarbledStartXref(bytes_), true},
      {"no-endobj", WithoutEndobjLines(bytes_), false},
  };
  for (const auto& [label, damaged, clean] : damages) {
    SCOPED_TRACE(label);
    const EngineRepair repair = RepairDamaged(label, damaged, intactPages_, clean);
    EXPECT_EQ(PageText(repair.output), PageText(intact_.output));
  }
}

TEST_P(OracleDamagedFile, CrLfLineEndsAreUndoneInStreamsAndCostNothing) {
  // The line ends change inside compressed stream data and stream lengths too; the copy has its
  // streams as they were before, each with its true length.
  const EngineRepair repair = RepairDamaged("crlf", LfToCrLf(bytes_), PageNumbersOf(pages_));
  EXPECT_EQ(PageText(repair.output), PageText(original_));
}

// A stream's /Length too short or too long, and bytes inverted in the data of the first page's
// content: the copy is clean, and every other stream is copied byte for byte. Compressed content
// keeps what decoded before the damage; uncompressed content is copied as it stands. The
// uncompressed document also gets its first page's content LZW-encoded, whole and damaged.
TEST_P(OracleDamagedFile, BrokenStreamsAreMendedAndNoOtherChanges) {
  ASSERT_FALSE(pages_.empty() || pages_.front().contents.empty());
  const int content = pages_.front().contents.front();
  struct Damage {
    std::string label;
    std::string bytes;
    bool textWhole;
  };
  std::vector<Damage> damages = {
      {"length-short", MisstatedLength(bytes_, content, -7), true},
      {"length-long", MisstatedLength(bytes_, content, 40), true},
      {"content-flipped", FlippedStreamData(bytes_, content), false},
  };
  if (GetParam() == "qdf") {
    const std::string lzw = WithLzwContent(bytes_, content);
    damages.push_back({"lzw-whole", lzw, true});
    damages.push_back({"lzw-flipped", FlippedStreamData(lzw, content), false});
  }
  const std::string originalText = PageText(original_);
  for (const auto& [label, damaged, textWhole] : damages) {
    SCOPED_TRACE(label);
    const EngineRepair repair = RepairDamaged(label, damaged, intactPages_);
    const std::string text = PageText(repair.output);
    if (textWhole) {
      EXPECT_EQ(text, originalText);
    } else {
      // The pages after the first are untouched; the first keeps a line or more.
      const auto firstPageEnd = originalText.find('\f');
      EXPECT_EQ(text.substr(text.find('\f')), originalText.substr(firstPageEnd));
      if (label != "content-flipped" || GetParam() != "qdf") {
        EXPECT_NE(text.find('\f'), 0u) << "the first page lost all text";
      }
    }
    if (label == "lzw-whole") {
      EXPECT_EQ(RawStreamData(repair.output, content), RawStreamData(work_ / "lzw-whole.pdf", content))
          << "a whole LZW stream was changed";
    }
    for (const PageObjects& page : pages_) {
      for (const int stream : page.contents) {
        if (stream == content) continue;
        EXPECT_EQ(RawStreamData(repair.output, stream), RawStreamData(original_, stream))
            << "content stream " << stream << " changed";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Producers, OracleDamagedFile,
                         ::testing::ValuesIn(SampleDocuments::Producers()),
                         [](const auto& row) { return row.param; });

}  // namespace
}  // namespace tarnwick::oracle
