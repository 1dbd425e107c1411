// What the job shows while it runs: step labels on the dialog of its mode, and positions that
// stay in range and skip the values a nearly finished step would show.
#include <gtest/gtest.h>

#include <algorithm>

#include "many_pages_source.h"
#include "repair_harness.h"
#include "system_environment.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

using Kind = ProgressEvent::Kind;

// The positions set during one step (counted from 1): after its label, before the position 0
// and repaint that start the next step.
std::vector<int> PositionsOfStep(const std::vector<ProgressEvent>& events, std::size_t step) {
  std::vector<std::size_t> labels;
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].kind == Kind::kLabel) labels.push_back(i);
  }
  std::vector<int> positions;
  if (labels.size() < step) return positions;
  const std::size_t end = labels.size() > step ? labels[step] - 2 : events.size();
  for (std::size_t i = labels[step - 1] + 1; i < end; ++i) {
    if (events[i].kind == Kind::kPosition) positions.push_back(events[i].position);
  }
  return positions;
}

bool NoneBetween(const std::vector<int>& positions, int low, int high) {
  return std::none_of(positions.begin(), positions.end(),
                      [&](int p) { return p >= low && p <= high; });
}

class JobProgress : public testing::TestWithParam<bool> {};

TEST_P(JobProgress, LabelsAndPositionsGoToTheDialogOfTheMode) {
  const bool saveMode = GetParam();
  TempFolder folder;
  TempFolder out;
  ScopedEnvironment tmpdir(kTemporaryFolderVariable, folder.Path());
  const std::string sourcePath = folder.File("source.pdf");
  WriteFile(sourcePath, ManyPagesSource(100, 500));
  RepairHarness harness;
  if (saveMode) harness.SaveInto(out.Path());
  ASSERT_TRUE(harness.engine.RepairFile(sourcePath)) << harness.engine.FailureText();

  const RecordingSink& used = saveMode ? harness.savingSink : harness.analysisSink;
  const RecordingSink& unused = saveMode ? harness.analysisSink : harness.savingSink;
  EXPECT_TRUE(unused.events.empty());
  const std::vector<std::string> labels =
      saveMode ? std::vector<std::string>{"( Step 1 / 2 )", "( Step 2 / 2 )"}
               : std::vector<std::string>{" Step 1 / 2 ", " Step 2 / 2 "};
  EXPECT_EQ(used.Labels(), labels);

  // Each step starts from an empty bar, repainted before its label changes.
  for (std::size_t i = 0; i < used.events.size(); ++i) {
    if (used.events[i].kind != Kind::kLabel) continue;
    ASSERT_GE(i, 2u);
    EXPECT_EQ(used.events[i - 2].kind, Kind::kPosition);
    EXPECT_EQ(used.events[i - 2].position, 0);
    EXPECT_EQ(used.events[i - 1].kind, Kind::kRepaint);
  }

  const std::vector<int> scan = PositionsOfStep(used.events, 1);
  const std::vector<int> copy = PositionsOfStep(used.events, 2);
  // Small steps, so that every value a wrong rounding would show is passed.
  ASSERT_GT(scan.size(), 100u);  // one per 512-byte chunk
  ASSERT_GT(copy.size(), 100u);  // one per copied object
  EXPECT_TRUE(std::is_sorted(scan.begin(), scan.end()));
  EXPECT_TRUE(std::is_sorted(copy.begin(), copy.end()));
  EXPECT_TRUE(NoneBetween(scan, 97, 99));
  EXPECT_TRUE(NoneBetween(copy, 91, 99));
  // Within a step the bar never shows 0 again, and never more than 100.
  EXPECT_GE(scan.front(), 1);
  EXPECT_GE(copy.front(), 1);
  EXPECT_EQ(scan.back(), 100);
  EXPECT_LE(copy.back(), 100);
}

INSTANTIATE_TEST_SUITE_P(Modes, JobProgress, testing::Bool(),
                         [](const auto& row) { return row.param ? "SaveMode" : "WorkFolder"; });

}  // namespace
}  // namespace tarnwick::test
