// The job around a repair: where the copy goes, the overwrite question, and what is reported
// when a file cannot be opened.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "many_pages_source.h"
#include "repair_harness.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

using Kind = ShownMessage::Kind;

const ShownMessage kOverwriteQuestion{
    Kind::kQuestion, "File already exist. Do you want to overwrite?", "Tarnwick test"};

class RepairJob : public testing::Test {
 protected:
  void SetUp() override { WriteFile(sourcePath, source); }

  TempFolder folder;
  TempFolder out;
  const std::string source = ManyPagesSource(1, 100);
  const std::string sourcePath = folder.File("source.pdf");
  const std::string outputPath = out.File("source.pdf");
  RepairHarness harness;
  RepairJobState& state = harness.engine.State();
};

TEST_F(RepairJob, NoToTheOverwriteQuestionLeavesTheExistingFile) {
  WriteFile(outputPath, "keep me");
  harness.SaveInto(out.Path());
  harness.messages.AnswerNext(false);
  EXPECT_FALSE(harness.engine.RepairFile(sourcePath));
  EXPECT_EQ(harness.messages.shown, std::vector<ShownMessage>{kOverwriteQuestion});
  EXPECT_EQ(ReadFile(outputPath), "keep me");
  EXPECT_FALSE(state.jobDone);
  EXPECT_EQ(state.sourceFile, nullptr);
  EXPECT_TRUE(harness.posixFiles.Delete(sourcePath)) << harness.posixFiles.LastErrorText();
}

TEST_F(RepairJob, ReadOnlyFileAtTheOutputPathIsReplacedAfterYes) {
  // The old file is also known under another name, which must keep its bytes: the job makes a
  // new file instead of writing into the old one.
  const std::string otherName = out.File("other.pdf");
  WriteFile(otherName, "old copy");
  ASSERT_EQ(::link(otherName.c_str(), outputPath.c_str()), 0);
  ASSERT_EQ(::chmod(outputPath.c_str(), 0444), 0);
  harness.SaveInto(out.Path());
  harness.messages.AnswerNext(true);
  EXPECT_TRUE(harness.engine.RepairFile(sourcePath)) << harness.engine.FailureText();
  EXPECT_TRUE(state.jobDone);
  EXPECT_EQ(state.outputPath, outputPath);
  EXPECT_EQ(ReadFile(outputPath), RepairBytes(source).output);
  EXPECT_EQ(ReadFile(otherName), "old copy");
}

TEST_F(RepairJob, SavingIntoTheSourcesOwnFolderLeavesTheOriginalIntact) {
  harness.SaveInto(folder.Path());
  harness.messages.AnswerNext(true);
  EXPECT_FALSE(harness.engine.RepairFile(sourcePath));
  EXPECT_EQ(harness.messages.shown,
            (std::vector<ShownMessage>{
                kOverwriteQuestion, {Kind::kNotice, " Destination file is not opened !! ", ""}}));
  EXPECT_EQ(ReadFile(sourcePath), source);
  EXPECT_FALSE(state.jobDone);
  EXPECT_TRUE(harness.posixFiles.Delete(sourcePath)) << harness.posixFiles.LastErrorText();
}

TEST_F(RepairJob, MissingSourceIsReported) {
  harness.SaveInto(out.Path());
  EXPECT_FALSE(harness.engine.RepairFile(folder.File("missing.pdf")));
  EXPECT_EQ(harness.messages.shown,
            (std::vector<ShownMessage>{{Kind::kNotice, " Source file is not opened !! ", ""}}));
  EXPECT_FALSE(harness.engine.FailureText().empty());
  EXPECT_FALSE(harness.posixFiles.Exists(outputPath));
  EXPECT_FALSE(state.jobDone);
}

TEST_F(RepairJob, JobsInTheSameSecondShareOneWorkFolder) {
  TempFolder temporary;
  ScopedEnvironment tmpdir("TMPDIR", temporary.Path());
  // The fixed clock says 13:05:09 on 2 March 2024.
  const std::string expected =
      temporary.Path() + "/tarnwick-" + std::to_string(::getuid()) + "/13-5-9-2-3-2024/source.pdf";
  EXPECT_TRUE(harness.engine.RepairFile(sourcePath)) << harness.engine.FailureText();
  EXPECT_EQ(state.outputPath, expected);
  EXPECT_TRUE(harness.messages.shown.empty());

  harness.messages.AnswerNext(true);
  EXPECT_TRUE(harness.engine.RepairFile(sourcePath)) << harness.engine.FailureText();
  EXPECT_EQ(state.outputPath, expected);
  EXPECT_EQ(harness.messages.shown, std::vector<ShownMessage>{kOverwriteQuestion});
  EXPECT_EQ(ReadFile(expected), RepairBytes(source).output);
}

}  // namespace
}  // namespace tarnwick::test
