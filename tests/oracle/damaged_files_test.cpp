// Damaged copies of the sample documents: the repaired copy must be a valid file and keep every
// page whose objects the damage left whole, and the damaged file itself must stay as it was.
#include <algorithm>
#include <iostream>
#include <iterator>

#include "damages.h"
#include "engine_repair.h"
#include "oracle_fixture.h"

namespace tarnwick::oracle {
namespace {

class OracleDamagedFile : public OracleTest<std::string> {
 protected:
  void SetUp() override {
    OracleTest::SetUp();
    if (HasFatalFailure()) return;
    original_ = Samples().Document(GetParam());
    bytes_ = test::ReadFile(original_);
    pages_ = QpdfPages(original_);
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

  std::filesystem::path original_;
  std::string bytes_;
  std::vector<PageObjects> pages_;
  test::TempFolder intactOut_;
  EngineRepair intact_;
  std::set<int> intactPages_;
  test::TempFolder work_;
};

TEST_P(OracleDamagedFile, TailCutsKeepEveryPageWhoseObjectsSurvived) {
  // Several fractions, and just before the last cross-reference section, where every object
  // is still whole.
  std::vector<std::pair<std::string, std::size_t>> cuts;
  for (const int percent : {30, 50, 70, 90}) {
    cuts.emplace_back("cut-" + std::to_string(percent), bytes_.size() * percent / 100);
  }
  cuts.emplace_back("cut-at-xref", LastXrefSection(bytes_));
  for (const auto& [label, keep] : cuts) {
    SCOPED_TRACE(label);
    RepairDamaged(label, CutTail(bytes_, keep), SparedPages(keep));
  }
}

TEST_P(OracleDamagedFile, BrokenCrossReferenceDataCostsNothing) {
  const std::pair<std::string, std::string> damages[] = {
      {"xref-junk", JunkXrefSections(bytes_)},
      {"no-trailer", WithoutTrailers(bytes_)},
      {"startxref-garbled", GarbledStartXref(bytes_)},
  };
  for (const auto& [label, damaged] : damages) {
    SCOPED_TRACE(label);
    const EngineRepair repair = RepairDamaged(label, damaged, intactPages_);
    EXPECT_EQ(PageText(repair.output), PageText(intact_.output));
  }
}

TEST_P(OracleDamagedFile, CrLfLineEndsKeepEveryPage) {
  // The line ends change inside compressed stream data and stream lengths too, so qpdf may
  // object to the copy and only an uncompressed file keeps its text; but every object is still
  // whole, so every page must be listed and the copy must open.
  const EngineRepair repair =
      RepairDamaged("crlf", LfToCrLf(bytes_), PageNumbersOf(pages_), /*clean=*/false);
  EXPECT_TRUE(PdfinfoPages(repair.output).has_value()) << "pdfinfo cannot read the copy";
  if (GetParam() == "qdf") {
    EXPECT_EQ(PageText(repair.output), PageText(original_));
  }
}

INSTANTIATE_TEST_SUITE_P(Producers, OracleDamagedFile,
                         ::testing::ValuesIn(SampleDocuments::Producers()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tarnwick::oracle
