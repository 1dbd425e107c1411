// The job around a repair: where the copy goes, the overwrite question, and what is reported
// when a file cannot be opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "many_pages_source.h"
#include "repair_harness.h"
#include "system_environment.h"
#include "system_test_name.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

using Kind = ShownMessage::Kind;

const ShownMessage kOverwriteQuestion{
    Kind::kQuestion, "File already exist. Do you want to overwrite?", "Tarnwick test"};

// A layer for copies of many gigabytes, which a test cannot afford on the disk: the source is a
// stream of `streamLength` zero bytes between a head and a tail, made up as it is read, and the
// copy is counted, not stored (the engine's writes and the system's copies alike).
class LargeCopyLayer final : public FileLayer {
 public:
  LargeCopyLayer(std::string head, std::uint64_t streamLength, std::string tail)
      : head_(std::move(head)), streamLength_(streamLength), tail_(std::move(tail)) {}

  std::unique_ptr<SourceFile> OpenForReading(const std::string&) override {
    return std::make_unique<MadeUpSource>(*this);
  }
  std::unique_ptr<OutputFile> OpenForWriting(const std::string&) override {
    return std::make_unique<CountedCopy>();
  }
  bool Exists(const std::string&) override { return false; }
  bool ResetAttributes(const std::string&) override { return true; }
  bool Delete(const std::string&) override { return true; }
  bool CreateFolder(const std::string&) override { return true; }
  std::optional<std::string> TemporaryFolder() override { return std::nullopt; }
  std::string LastErrorText() const override { return {}; }

 private:
  struct MadeUpSource final : SourceFile {
    explicit MadeUpSource(const LargeCopyLayer& made) : layer(made) {}
    std::uint64_t Length() const override {
      return layer.head_.size() + layer.streamLength_ + layer.tail_.size();
    }
    bool ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
                std::size_t& got) override {
      const std::uint64_t tailStart = layer.head_.size() + layer.streamLength_;
      got = static_cast<std::size_t>(std::min<std::uint64_t>(count, Length() - offset));
      for (std::size_t i = 0; i < got;) {
        const std::uint64_t at = offset + i;
        if (at < layer.head_.size()) {
          out[i++] = static_cast<std::uint8_t>(layer.head_[at]);
        } else if (at >= tailStart) {
          out[i++] = static_cast<std::uint8_t>(layer.tail_[at - tailStart]);
        } else {
          const auto zeros = static_cast<std::size_t>(std::min<std::uint64_t>(got - i, tailStart - at));
          std::memset(out + i, 0, zeros);
          i += zeros;
        }
      }
      return true;
    }
    std::string ErrorText() const override { return {}; }
    const LargeCopyLayer& layer;
  };
  struct CountedCopy final : OutputFile {
    bool Append(const std::uint8_t*, std::size_t) override { return true; }
    std::optional<bool> AppendFrom(SourceFile&, std::uint64_t, std::size_t) override {
      return true;
    }
    bool Close() override { return true; }
    std::string ErrorText() const override { return {}; }
  };

  std::string head_;
  std::uint64_t streamLength_;
  std::string tail_;
};

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
  EXPECT_EQ(harness.engine.Outcome().status, RepairStatus::kDeclinedOverwrite);
  EXPECT_EQ(harness.engine.Outcome().failurePath, outputPath);
  EXPECT_EQ(state.sourceFile, nullptr);
  EXPECT_TRUE(harness.nativeFiles.Delete(sourcePath)) << harness.nativeFiles.LastErrorText();
}

TEST_F(RepairJob, ReadOnlyFileAtTheOutputPathIsReplacedAfterYes) {
  // The old file is also known under another name, which must keep its bytes: the job makes a
  // new file instead of writing into the old one.
  const std::string otherName = out.File("other.pdf");
  WriteFile(otherName, "old copy");
  std::filesystem::create_hard_link(otherName, outputPath);
  std::filesystem::permissions(outputPath, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
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
                kOverwriteQuestion,
                {Kind::kNotice,
                 " Destination file is not opened !! \n" + sourcePath +
                     ": the file is held by a running repair job",
                 ""}}));
  EXPECT_EQ(ReadFile(sourcePath), source);
  EXPECT_FALSE(state.jobDone);
  EXPECT_TRUE(harness.nativeFiles.Delete(sourcePath)) << harness.nativeFiles.LastErrorText();
}

TEST_F(RepairJob, ON_THIS_SYSTEM(MissingSourceIsReportedWithTheSystemsReason)) {
  harness.SaveInto(out.Path());
  EXPECT_FALSE(harness.engine.RepairFile(folder.File("missing.pdf")));
  EXPECT_EQ(harness.messages.shown,
            (std::vector<ShownMessage>{{Kind::kNotice,
                                        " Source file is not opened !! \n" +
                                            folder.File("missing.pdf") + ": " +
                                            MissingFileText(),
                                        ""}}));
  EXPECT_EQ(harness.engine.Outcome().status, RepairStatus::kSourceUnreadable);
  EXPECT_EQ(harness.engine.Outcome().failurePath, folder.File("missing.pdf"));
  EXPECT_EQ(harness.engine.Outcome().reason, MissingFileText());
  EXPECT_FALSE(harness.nativeFiles.Exists(outputPath));
  EXPECT_FALSE(state.jobDone);
}

TEST_F(RepairJob, JobsInTheSameSecondShareOneWorkFolder) {
  TempFolder temporary;
  ScopedEnvironment tmpdir(kTemporaryFolderVariable, temporary.Path());
  // The fixed clock says 13:05:09 on 2 March 2024.
  const std::string expected = PrivateFolderIn(temporary.Path()) + "/13-5-9-2-3-2024/source.pdf";
  EXPECT_TRUE(harness.engine.RepairFile(sourcePath)) << harness.engine.FailureText();
  EXPECT_EQ(state.outputPath, expected);
  EXPECT_TRUE(harness.messages.shown.empty());

  harness.messages.AnswerNext(true);
  EXPECT_TRUE(harness.engine.RepairFile(sourcePath)) << harness.engine.FailureText();
  EXPECT_EQ(state.outputPath, expected);
  EXPECT_EQ(harness.messages.shown, std::vector<ShownMessage>{kOverwriteQuestion});
  EXPECT_EQ(ReadFile(expected), RepairBytes(source).output);
}

// Offsets past ten digits do not fit a cross-reference entry: a copy that large ends the job
// with a message rather than with a table that points at the wrong bytes.
TEST_F(RepairJob, ACopyTooLargeForItsCrossReferenceTableEndsTheJob) {
  LargeCopyLayer files("%PDF-1.4\n1 0 obj\n<< /Length 10000000000 >>\nstream\n", 10'000'000'000,
                       "\nendstream\nendobj\n2 0 obj\n<< /Type /Page /MediaBox [0 0 612 792] >>"
                       "\nendobj\ntrailer\n<< /Size 3 >>\n");
  RepairHarness large(&files);
  large.SaveInto(out.Path());
  EXPECT_FALSE(large.engine.RepairFile(sourcePath));
  EXPECT_EQ(large.engine.FailureText(),
            outputPath +
                ": the repaired copy would pass 9999999999 bytes, more than its cross-reference "
                "table can address");
  EXPECT_TRUE(large.engine.FailureUntold());
  EXPECT_EQ(large.engine.Outcome().status, RepairStatus::kOutputTooLarge);
}

}  // namespace
}  // namespace tarnwick::test
