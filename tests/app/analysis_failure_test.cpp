// A failure of the system during the analysis, made by removing the work folder under the job:
// only POSIX lets a folder go while a file in it is open.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_texts.h"
#include "control_ids.h"
#include "desktop_harness.h"
#include "system_environment.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;
using enum MessageAnswer;

// A repair that fails for a reason of the system is told with the file and the reason, then the
// main window returns as after any failed repair.
TEST(Analysis, AFailureOfTheSystemIsShownWithTheFileAndTheReason) {
  DesktopHarness h;
  h.clock.fixed = LocalTime{10, 20, 30, 7, 12, 2026};
  const std::string large = h.WriteLargeSource("z.pdf");
  const fs::path workFolder = PrivateFolderIn(h.temporaryFolder) + "/10-20-30-7-12-2026";
  h.loop.When([&] { return AnalysisPast(h, 60); }, [&] { fs::remove_all(workFolder); });
  h.Repair({large});
  h.Expect((workFolder / "z.pdf").string() + ": No such file or directory", kOk);
  h.Then("back in the main window", [&] {
    EXPECT_EQ(h.views.Opened("preview"), 0);
    EXPECT_TRUE(h.views.Main().visible);
    EXPECT_EQ(h.messages.shown.back().icon, MessageIcon::kWarning);
    EXPECT_EQ(h.messages.shown.back().caption, ui::kMessageCaption);
  });
  h.Press("main", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.Log(), "1-   " + large + "\r\n") << "nothing more for the file";
}

}  // namespace
}  // namespace tarnwick::test
