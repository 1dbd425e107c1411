#include <gtest/gtest.h>

#include <filesystem>

#include "app_texts.h"
#include "control_ids.h"
#include "desktop_harness.h"
#include "system_environment.h"
#include "system_test_name.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;
using enum MessageAnswer;

TEST(Analysis, PauseStopNoKeepsTheWorkerPausedUntilResumed) {
  DesktopHarness h;
  const std::string large = h.WriteLargeSource("z.pdf");
  h.Repair({large});
  h.loop.When([&] { return AnalysisPast(h, 10); },
              [&] { h.views.Open("analysis").Events().OnCommand(ids::kAnalysisPause); });
  h.Then("paused", [&] {
    ScriptedDialogView& analysis = h.views.Open("analysis");
    EXPECT_EQ(analysis.title, ui::kWindowTitle);
    EXPECT_EQ(analysis.Look(ids::kAnalysisPause).caption, ui::kResume);
    EXPECT_EQ(analysis.Look(ids::kAnalysisPause).tooltip, ui::kResume);
    EXPECT_EQ(analysis.Look(ids::kAnalysisPause).normalBitmap, h.programFolder + "/Bmp/resume.bmp");
    analysis.Events().OnCommand(ids::kAnalysisStop);
  });
  h.Expect(ui::kStopAnalysisQuestion, kNo);
  h.Then("still paused after No", [&] {
    EXPECT_TRUE(h.WorkersHeld());
    EXPECT_EQ(h.views.Open("analysis").Look(ids::kAnalysisPause).caption, ui::kResume);
    EXPECT_EQ(h.views.Opened("preview"), 0);
  });
  h.Click("analysis", ids::kAnalysisPause);
  h.Then("resumed, repaired and shown", [&] {
    EXPECT_TRUE(h.App().Job().jobDone);
    EXPECT_EQ(h.views.Opened("preview"), 1);
    const std::vector<std::string>& steps = h.views.Preview().textHistory[ids::kSourcePath];
    EXPECT_EQ(steps.back(), large);
  });
  h.Press("preview", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

TEST(Analysis, TheWindowThreadHearsOnlyChangesOfTheBarsPosition) {
  DesktopHarness h;
  const std::string large = h.WriteLargeSource("z.pdf");
  ASSERT_GT(fs::file_size(large), 100u * 512) << "enough chunks to report many equal positions";
  h.Repair({large});
  h.Then("repaired", [&] {
    EXPECT_EQ(h.views.Opened("preview"), 1);
    // Two steps of at most 101 positions each, two step labels and repaints.
    EXPECT_LE(h.loop.CallsFromWorkers(), 2 * 101 + 4);
  });
  h.Press("preview", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

TEST(Analysis, StopAnsweredYesLeavesNoCopyBeforeTheMainWindowReturns) {
  DesktopHarness h;
  const std::string large = h.WriteLargeSource("z.pdf");
  h.Repair({large});
  h.loop.When([&] { return AnalysisPast(h, 60); },
              [&] { h.views.Open("analysis").Events().OnClose(); });
  h.Expect(ui::kStopAnalysisQuestion, kYes);
  h.Then("back in the main window", [&] {
    EXPECT_TRUE(h.views.Main().visible);
    EXPECT_FALSE(h.App().Job().jobDone);
    // Neither the copy cut short, nor its part file, nor its work folder is left.
    const fs::path output = h.App().Job().outputPath;
    EXPECT_FALSE(fs::exists(output.parent_path()));
  });
  h.Press("main", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

// A first file that gives no copy closes its dialog without the stop question and does not hold
// up the files after it.
TEST(Analysis, ON_THIS_SYSTEM(ARepairThatFailsClosesTheDialogAndTheNextFileIsRepaired)) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  const std::string b = h.WriteSource("b.pdf");
  h.AddFiles({a, b});
  h.Then("the first file goes away", [&] { fs::remove(a); });
  h.Click("main", ids::kRepair);
  h.Expect(" Source file is not opened !! \n" + a + ": " + MissingFileText(), kOk);
  h.Then("the second file is shown", [&] {
    EXPECT_EQ(h.messages.shown.back().caption, ui::kMessageCaption);
    EXPECT_EQ(h.messages.shown.back().owner, nullptr);
    ScriptedPreviewView& preview = h.views.Preview();
    EXPECT_EQ(preview.texts[ids::kFileNumber], "2");
    EXPECT_EQ(preview.texts[ids::kSourcePath], b);
    EXPECT_TRUE(preview.VisiblePane().address.ends_with("/b.pdf#toolbar=0"));
  });
  h.Click("preview", ids::kBack);
  h.Expect(ui::kPreviousStepQuestion, kYes);
  h.CloseBox("main");
  h.Expect(ui::kExitQuestion, kNo);
  h.Then("Repair is enabled again",
         [&] { EXPECT_TRUE(h.views.Main().controlEnabled[ids::kRepair]); });
  h.Click("main", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

TEST(Analysis, EscapeEndsTheProgramLeavingNoWorkCopy) {
  DesktopHarness h;
  const std::string large = h.WriteLargeSource("z.pdf");
  h.Repair({large});
  h.loop.When([&] { return AnalysisPast(h, 30); },
              [&] { h.views.Open("analysis").Events().OnKey(Key::kEscape); });
  h.Expect(ui::kQuickExitQuestion, kNo);
  h.Then("the repair went on", [&] { EXPECT_EQ(h.views.Opened("preview"), 1); });
  h.Press("preview", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
}

// The labels, the copy on display and what Save Current saves always concern one file. A stopped
// move returns to the file on display; a failed one stands, with nothing on display.
TEST(Analysis, AStoppedMoveReturnsToTheFileOnDisplay) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  const std::string large = h.WriteLargeSource("z.pdf");
  std::string shownBefore;
  h.Repair({a, large});
  h.Then("note the copy on display", [&] {
    shownBefore = h.views.Preview().VisiblePane().address;
    h.views.Preview().Events().OnCommand(ids::kNextFile);
  });
  h.loop.When([&] { return h.views.Opened("analysis") == 2 && AnalysisPast(h, 60); },
              [&] {
                EXPECT_EQ(h.views.Preview().VisiblePane().address, ui::kBlankPage)
                    << "the old copy left the screen when the labels changed";
                h.views.Open("analysis").Events().OnCommand(ids::kAnalysisStop);
              });
  h.Expect(ui::kStopAnalysisQuestion, kYes);
  h.Then("the first file is back on display under its own labels", [&] {
    ScriptedPreviewView& preview = h.views.Preview();
    EXPECT_EQ(preview.VisiblePane().address, shownBefore);
    EXPECT_TRUE(fs::exists(shownBefore.substr(0, shownBefore.find('#'))));
    EXPECT_EQ(preview.texts[ids::kFileNumber], "1");
    EXPECT_EQ(preview.texts[ids::kSourcePath], a);
    EXPECT_EQ(preview.Look(ids::kBackFile).normalBitmap, h.programFolder + "/Bmp/backfile-d.bmp");
    EXPECT_EQ(preview.Look(ids::kNextFile).normalBitmap, h.programFolder + "/Bmp/nextfile-a.bmp");
  });
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", ids::kSaveCurrentButton);
  h.Then("the file on display was saved", [&] {
    EXPECT_TRUE(fs::exists(h.destinationFolder + "/a.pdf"));
    EXPECT_FALSE(fs::exists(h.destinationFolder + "/z.pdf"));
  });
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{}) << "the partial copy is cleaned up too";
}

TEST(Analysis, ON_THIS_SYSTEM(AFailedMoveStandsWithNothingOnDisplay)) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  const std::string b = h.WriteSource("b.pdf");
  h.Repair({a, b});
  h.Then("the second file goes away", [&] { fs::remove(b); });
  h.Click("preview", ids::kNextFile);
  h.Expect(" Source file is not opened !! \n" + b + ": " + MissingFileText(), kOk);
  h.Then("the labels name the file that failed, and no copy is shown", [&] {
    ScriptedPreviewView& preview = h.views.Preview();
    EXPECT_EQ(preview.texts[ids::kFileNumber], "2");
    EXPECT_EQ(preview.texts[ids::kSourcePath], b);
    EXPECT_EQ(preview.VisiblePane().address, ui::kBlankPage);
  });
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tarnwick::test
