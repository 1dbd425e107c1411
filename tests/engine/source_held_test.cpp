// Windows opens a job's source without write sharing: nobody can shorten it under the job.
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "many_pages_source.h"
#include "repair_harness.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

// An attempt to cut the source short, in the scan or in the copy, is refused by the system,
// and the job goes on to the same copy as if nobody had tried.
TEST(SourceCutShort, HeldByARunningJobCannotBeCutOnWindows) {
  TempFolder folder;
  TempFolder out;
  const std::string sourcePath = folder.File("source.pdf");
  const std::string source = ManyPagesSource(40, 30000);
  for (const std::size_t step : {1u, 2u}) {
    SCOPED_TRACE("cut tried in step " + std::to_string(step));
    WriteFile(sourcePath, source);
    RepairHarness harness;
    harness.SaveInto(out.Path());
    std::size_t labels = 0;
    std::error_code refusal;
    bool tried = false;
    harness.savingSink.onEvent = [&](const ProgressEvent& e) {
      if (e.kind == ProgressEvent::Kind::kLabel) ++labels;
      if (!tried && labels == step && e.kind == ProgressEvent::Kind::kPosition &&
          e.position >= 50) {
        tried = true;
        std::filesystem::resize_file(sourcePath, source.size() / 3, refusal);
      }
    };
    EXPECT_TRUE(harness.engine.RepairFile(sourcePath)) << harness.engine.FailureText();
    EXPECT_TRUE(tried);
    EXPECT_TRUE(refusal) << "the source was cut under the job";
    EXPECT_EQ(ReadFile(sourcePath), source);
    EXPECT_EQ(ReadFile(out.File("source.pdf")), RepairBytes(source).output);
    std::filesystem::remove(out.File("source.pdf"));
  }
}

}  // namespace
}  // namespace tarnwick::test
