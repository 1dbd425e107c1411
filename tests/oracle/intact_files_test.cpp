// Intact files of several producers: the repaired copy must be a clean PDF to qpdf and show the
// same pages and text as the original to poppler.
#include <algorithm>
#include <sstream>

#include "engine_repair.h"
#include "oracle_fixture.h"

namespace tarnwick::oracle {
namespace {

using OracleIntactFile = OracleTest<std::string>;

std::vector<std::string> SortedPageTexts(const std::filesystem::path& pdf) {
  std::vector<std::string> pages;
  std::istringstream text(PageText(pdf));
  for (std::string page; std::getline(text, page, '\f');) pages.push_back(page);
  std::sort(pages.begin(), pages.end());
  return pages;
}

TEST_P(OracleIntactFile, RepairedCopyIsCleanAndKeepsEveryPageAndItsText) {
  const auto& original = Samples().Document(GetParam());
  const std::string originalBytes = test::ReadFile(original);
  test::TempFolder out;

  const EngineRepair repair = RepairInto(original, out.Path());

  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_TRUE(repair.notices.empty()) << repair.notices.front();
  EXPECT_EQ(test::ReadFile(original), originalBytes) << "the source was changed";
  const CommandResult check = QpdfCheck(repair.output);
  EXPECT_EQ(check.status, 0) << "qpdf --check " << repair.output << "\n" << check.out << check.err;
  EXPECT_EQ(PdfinfoPages(repair.output), PdfinfoPages(original));
  EXPECT_EQ(PageNumbersOf(QpdfPages(repair.output)), PageNumbersOf(QpdfPages(original)));
  EXPECT_EQ(PageText(repair.output), PageText(original));
}

// The repaired copy is itself a normal file, so repairing it again must lose nothing more. Its
// page order may differ: pages are listed in the order their objects stand in the file, and a
// repair writes the objects newest first. Files with incremental updates are left out: their
// repaired copy holds every version of an updated object, newest first, and a second repair takes
// the version that stands last, the oldest.
class OracleRepairedAgain : public OracleTest<std::string> {};

TEST_P(OracleRepairedAgain, RepairingTheRepairedCopyKeepsItsPagesAndText) {
  test::TempFolder first;
  test::TempFolder second;
  const EngineRepair once = RepairInto(Samples().Document(GetParam()), first.Path());
  ASSERT_TRUE(once.repaired) << once.failure;

  const EngineRepair twice = RepairInto(once.output, second.Path());

  ASSERT_TRUE(twice.repaired) << twice.failure;
  const CommandResult check = QpdfCheck(twice.output);
  EXPECT_EQ(check.status, 0) << "qpdf --check " << twice.output << "\n" << check.out << check.err;
  EXPECT_EQ(PageNumbersOf(QpdfPages(twice.output)), PageNumbersOf(QpdfPages(once.output)));
  EXPECT_EQ(SortedPageTexts(twice.output), SortedPageTexts(once.output));
}

INSTANTIATE_TEST_SUITE_P(Producers, OracleIntactFile,
                         ::testing::ValuesIn(SampleDocuments::Producers()),
                         [](const auto& info) { return info.param; });

INSTANTIATE_TEST_SUITE_P(Producers, OracleRepairedAgain,
                         ::testing::Values("ghostscript", "cairo", "qpdf", "qdf"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tarnwick::oracle
