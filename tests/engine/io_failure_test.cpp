// A read or write error of the file layer, or an allocation that fails, wherever it happens,
// ends the job with false, both files closed, the job flag clear and nothing left behind, and
// says why.
#include <gtest/gtest.h>

#include "failing_file_layer.h"
#include "many_pages_source.h"
#include "repair_harness.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

class InjectedFailure : public testing::Test {
 protected:
  // Repairs the source through a layer that fails the given read or write; returns the layer's
  // counts of calls.
  std::pair<int, int> Run(int failingRead, int failingWrite, bool outOfMemory = false) {
    WriteFile(sourcePath, source);
    FailingFileLayer files(failingRead, failingWrite, outOfMemory);
    RepairHarness harness(&files);
    harness.SaveInto(out.Path());
    const bool completed = harness.engine.RepairFile(sourcePath);
    const bool injected = failingRead > 0 || failingWrite > 0;
    EXPECT_EQ(completed, !injected) << harness.engine.FailureText();
    EXPECT_EQ(harness.engine.State().jobDone, !injected);
    EXPECT_EQ(harness.engine.State().sourceFile, nullptr);
    EXPECT_EQ(harness.engine.State().outputFile, nullptr);
    EXPECT_TRUE(harness.messages.shown.empty());
    if (injected) {
      const char* error = outOfMemory       ? "not enough memory to repair this file"
                          : failingRead > 0 ? FailingFileLayer::kReadError
                                            : FailingFileLayer::kWriteError;
      EXPECT_NE(harness.engine.FailureText().find(error), std::string::npos)
          << harness.engine.FailureText();
      EXPECT_TRUE(harness.engine.FailureUntold());
      EXPECT_EQ(harness.engine.Outcome().status, outOfMemory       ? RepairStatus::kOutOfMemory
                                                 : failingRead > 0 ? RepairStatus::kSourceUnreadable
                                                                   : RepairStatus::kOutputNotWritable);
      EXPECT_EQ(harness.engine.Outcome().outputPath, "");
    }
    // The source is no longer held; a failed job leaves nothing in the destination folder, not
    // even its part file, and a completed one exactly the copy.
    NativeFileLayer real;
    EXPECT_TRUE(real.Delete(sourcePath)) << real.LastErrorText();
    EXPECT_EQ(FileNames(out.Path()),
              injected ? std::vector<std::string>{} : std::vector<std::string>{"source.pdf"});
    if (!injected) {
      EXPECT_TRUE(real.Delete(outputPath)) << real.LastErrorText();
    }
    return {files.Reads(), files.Writes()};
  }

  TempFolder folder;
  TempFolder out;
  // Larger than the engine's read cache and write buffer, so that reads happen in both steps
  // and the output is written in more than one piece.
  const std::string source = ManyPagesSource(40, 30000);
  const std::string sourcePath = folder.File("source.pdf");
  const std::string outputPath = out.File("source.pdf");
};

TEST_F(InjectedFailure, EveryReadAndEveryWriteCanEndTheJob) {
  const auto [reads, writes] = Run(0, 0);
  ASSERT_GE(reads, 2);
  ASSERT_GE(writes, 2);
  for (int n = 1; n <= reads; ++n) {
    SCOPED_TRACE("failing read " + std::to_string(n));
    Run(n, 0);
  }
  for (int n = 1; n <= writes; ++n) {
    SCOPED_TRACE("failing write " + std::to_string(n));
    Run(0, n);
  }
}

TEST_F(InjectedFailure, AllocationFailingAtAnyReadOrWriteEndsTheJobSayingSo) {
  const auto [reads, writes] = Run(0, 0);
  for (int n = 1; n <= reads; ++n) {
    SCOPED_TRACE("allocation failing at read " + std::to_string(n));
    Run(n, 0, true);
  }
  for (int n = 1; n <= writes; ++n) {
    SCOPED_TRACE("allocation failing at write " + std::to_string(n));
    Run(0, n, true);
  }
}

}  // namespace
}  // namespace tarnwick::test
