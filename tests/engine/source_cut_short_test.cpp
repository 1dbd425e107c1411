// POSIX lets another process shorten a file that a running job holds open: the job must notice.
#include <gtest/gtest.h>
#include <unistd.h>

#include "many_pages_source.h"
#include "repair_harness.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

// A source cut short under a running job, in its scan or in its copy (through the engine's
// reads or the system's file-to-file copy of large objects), ends the job with that reason:
// bytes that are gone are never taken for the end of the file.
TEST(SourceCutShort, UnderARunningJobEndsItAsSuchOnLinux) {
  TempFolder folder;
  TempFolder out;
  const std::string sourcePath = folder.File("source.pdf");
  const std::string source = ManyPagesSource(40, 30000);
  struct Cut {
    std::size_t step;
    std::string source;
  };
  for (const Cut& cut : {Cut{1, source}, Cut{2, source}, Cut{2, ManyPagesSource(8, 100'000)}}) {
    SCOPED_TRACE("cut in step " + std::to_string(cut.step) + " of " +
                 std::to_string(cut.source.size()) + " bytes");
    WriteFile(sourcePath, cut.source);
    RepairHarness harness;
    harness.SaveInto(out.Path());
    std::size_t labels = 0;
    bool wasCut = false;
    harness.savingSink.onEvent = [&](const ProgressEvent& e) {
      if (e.kind == ProgressEvent::Kind::kLabel) ++labels;
      if (!wasCut && labels == cut.step && e.kind == ProgressEvent::Kind::kPosition &&
          e.position >= 50) {
        wasCut = ::truncate(sourcePath.c_str(), static_cast<off_t>(cut.source.size() / 3)) == 0;
      }
    };
    EXPECT_FALSE(harness.engine.RepairFile(sourcePath));
    EXPECT_TRUE(wasCut);
    EXPECT_EQ(harness.engine.FailureText(),
              sourcePath + ": the file became shorter during the repair");
    EXPECT_TRUE(harness.engine.FailureUntold());
    EXPECT_EQ(harness.engine.Outcome().status, RepairStatus::kSourceChanged);
    EXPECT_EQ(FileNames(out.Path()), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace tarnwick::test
