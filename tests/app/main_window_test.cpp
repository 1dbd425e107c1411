#include <gtest/gtest.h>

#include "app_texts.h"
#include "control_ids.h"
#include "desktop_harness.h"

namespace tarnwick::test {
namespace {

using enum MessageAnswer;

TEST(MainWindow, AddsEachFileOnceAndRenumbersAfterClearing) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  const std::string b = h.WriteSource("b.pdf");
  const std::string c = h.WriteSource("c.pdf");
  std::string upperA = a;
  upperA.replace(upperA.size() - 5, 5, "A.pdf");
  h.AddFiles({a, b, upperA, a, h.sourceFolder + "/missing.pdf", ""});
  h.Then("select a.pdf", [&] { h.views.Main().selectionMark = 0; });
  h.Click("main", ids::kClearSelected);
  h.Expect(ui::kClearSelectedQuestion, kYes);
  h.AddFiles({c});
  h.Then("check the table, then leave", [&] {
    EXPECT_EQ(h.views.Main().rows, (std::vector<std::string>{b, c}));
    EXPECT_EQ(h.views.Main().Look(ids::kClearAll).normalBitmap,
              h.programFolder + "/Bmp/clearall-a.bmp");
    h.views.Main().Events().OnKey(Key::kEscape);
  });
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.messages.shown.back().owner, nullptr);
}

// A file that does not start like a PDF goes into the list only when the user says so; junk
// before the header is common and passes.
TEST(MainWindow, AsksBeforeAddingAFileThatDoesNotStartLikeAPdf) {
  DesktopHarness h;
  const std::string notes = h.sourceFolder + "/notes.pdf";
  const std::string empty = h.sourceFolder + "/empty.pdf";
  const std::string junk = h.sourceFolder + "/junk.pdf";
  WriteFile(notes, "Meeting notes, not a PDF at all.\n");
  WriteFile(empty, "");
  WriteFile(junk, std::string(600, ' ') + ReadFile(h.WriteSource("a.pdf")));
  h.Expect(notes + "\n\n" + ui::kNotAPdfQuestion, kNo);
  h.Expect(empty + "\n\n" + ui::kNotAPdfQuestion, kYes);
  h.AddFiles({notes, empty, junk});
  h.Then("only what the user kept is listed", [&] {
    EXPECT_EQ(h.views.Main().rows, (std::vector<std::string>{empty, junk}));
    EXPECT_EQ(h.messages.shown.back().owner, &h.views.Main());
    h.views.Main().Events().OnKey(Key::kEscape);
  });
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

TEST(MainWindow, RepairLogsEveryFileThenStopReturnsWithoutPreview) {
  DesktopHarness h;
  const std::string a = h.WriteLargeSource("a.pdf");
  const std::string b = h.WriteSource("b.pdf");
  h.Repair({a, b});
  h.loop.When(
      [&] {
        return h.views.Opened("analysis") == 1 &&
               h.views.Open("analysis").progress[ids::kAnalysisProgress] > 10;
      },
      [&] { h.views.Open("analysis").Events().OnCommand(ids::kAnalysisStop); });
  h.Expect(ui::kStopAnalysisQuestion, kYes);
  h.Then("the main window is back", [&] {
    EXPECT_TRUE(h.views.Main().visible);
    EXPECT_EQ(h.views.Opened("preview"), 0);
    EXPECT_FALSE(h.App().Job().jobDone);
    h.views.Main().Events().OnCommand(ids::kToolbarExit);
  });
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.Log(), "1-   " + a + "\r\n2-   " + b + "\r\n");
}

}  // namespace
}  // namespace tarnwick::test
