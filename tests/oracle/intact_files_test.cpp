// Intact files of several producers: the repaired copy must be a clean PDF to qpdf and show the
// same pages and text as the original to poppler.
#include "engine_repair.h"
#include "oracle_fixture.h"

namespace tarnwick::oracle {
namespace {

using OracleIntactFile = OracleTest<std::string>;

TEST_P(OracleIntactFile, RepairedCopyIsCleanAndKeepsEveryPageAndItsText) {
  const auto& original = Samples().Document(GetParam());
  const std::string originalBytes = test::ReadFile(original);
  test::TempFolder out;

  const EngineRepair repair = RepairInto(original, out.Path());

  ASSERT_TRUE(repair.repaired) << repair.failure;
  EXPECT_TRUE(repair.notices.empty()) << repair.notices.front();
  EXPECT_EQ(repair.Mends(), 0u) << "an intact file was mended";
  EXPECT_EQ(test::ReadFile(original), originalBytes) << "the source was changed";
  const CommandResult check = QpdfCheck(repair.output);
  EXPECT_EQ(check.status, 0) << "qpdf --check " << repair.output << "\n" << check.out << check.err;
  EXPECT_EQ(PdfinfoPages(repair.output), PdfinfoPages(original));
  EXPECT_EQ(PageNumbersOf(QpdfPages(repair.output)), PageNumbersOf(QpdfPages(original)));
  EXPECT_EQ(PageText(repair.output), PageText(original));
}

// The repaired copy is itself a normal file, holding one version of each object, so repairing it
// again must keep the same pages in the same order with the same text.
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
  EXPECT_EQ(PageText(twice.output), PageText(once.output));
}

INSTANTIATE_TEST_SUITE_P(Producers, OracleIntactFile,
                         ::testing::ValuesIn(SampleDocuments::Producers()),
                         [](const auto& row) { return row.param; });
INSTANTIATE_TEST_SUITE_P(Layouts, OracleIntactFile, ::testing::ValuesIn(SampleDocuments::Layouts()),
                         [](const auto& row) { return row.param; });

INSTANTIATE_TEST_SUITE_P(Producers, OracleRepairedAgain,
                         ::testing::ValuesIn(SampleDocuments::Producers()),
                         [](const auto& row) { return row.param; });
INSTANTIATE_TEST_SUITE_P(Layouts, OracleRepairedAgain,
                         ::testing::ValuesIn(SampleDocuments::Layouts()),
                         [](const auto& row) { return row.param; });

}  // namespace
}  // namespace tarnwick::oracle
