#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "app_texts.h"
#include "control_ids.h"
#include "desktop_harness.h"
#include "system_environment.h"
#include "system_test_name.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;
using enum MessageAnswer;

std::vector<std::string> Sources(DesktopHarness& h, int count) {
  std::vector<std::string> paths;
  for (int i = 1; i <= count; ++i) {
    // Appended piece by piece: GCC 12 warns falsely about "f" + std::to_string(i) at -O3.
    std::string name = "f";
    name += std::to_string(i);
    name += ".pdf";
    paths.push_back(h.WriteSource(name));
  }
  return paths;
}

// Runs Save All over `count` files and returns the overall bar's positions.
std::vector<int> SaveAllBar(int count) {
  DesktopHarness h;
  std::vector<int> bar;
  h.Repair(Sources(h, count));
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", ids::kSaveAllButton);
  h.Then("the completion dialog", [&] {
    bar = h.views.Open("saving").progressHistory[ids::kOverallProgress];
    EXPECT_FALSE(h.views.Open("saving").visible);
    EXPECT_FALSE(h.views.Preview().visible);
    h.views.Open("completion").Events().OnCommand(ids::kCompletionOk);
  });
  EXPECT_EQ(h.Run(), 0);
  for (int i = 1; i <= count; ++i) {
    EXPECT_TRUE(fs::exists(h.destinationFolder + "/f" + std::to_string(i) + ".pdf"));
  }
  EXPECT_TRUE(h.Log().ends_with("\r\n\r\n" + std::string(ui::kCompletedBanner)));
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
  EXPECT_GE(h.loop.VirtualMilliseconds(), 10'000) << "the full bar stays for ten seconds";
  return bar;
}

TEST(SaveAll, MovesTheOverallBarByWholeShares) {
  EXPECT_EQ(SaveAllBar(1), (std::vector<int>{0, 100}));
  EXPECT_EQ(SaveAllBar(3), (std::vector<int>{0, 33, 66, 99, 100}));
  EXPECT_EQ(SaveAllBar(7), (std::vector<int>{0, 14, 28, 42, 56, 70, 84, 98, 100}));
  EXPECT_EQ(SaveAllBar(101), (std::vector<int>{0, 100}));
}

// The copies saved without a page, or without pages their files had, are named before the
// completion; the whole ones are not.
TEST(SaveAll, NamesTheCopiesThatLackPagesBeforeTheCompletion) {
  DesktopHarness h;
  const std::string text = h.sourceFolder + "/notes.pdf";
  WriteFile(text, "Meeting notes, not a PDF at all.\n");
  const std::vector<std::string> sources = {text, h.WriteSource("good.pdf"),
                                            h.WriteTornSource("torn.pdf")};
  h.Expect(text + "\n\n" + ui::kNotAPdfQuestion, kYes);
  h.Repair(sources);
  h.Expect(ui::kNoPageRecovered, kOk);
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", ids::kSaveAllButton);
  h.Expect(std::string(ui::kIncompleteCopies) + "\n" + text +
               ": No page could be recovered from this file.\n" + sources[2] +
               ": 2 of 3 pages could be recovered from this file.",
           kOk);
  h.Then("the completion dialog", [&] {
    EXPECT_EQ(h.messages.shown.back().owner, nullptr);
    h.views.Open("completion").Events().OnCommand(ids::kCompletionOk);
  });
  EXPECT_EQ(h.Run(), 0);
  EXPECT_TRUE(fs::exists(h.destinationFolder + "/torn.pdf"));
  EXPECT_TRUE(h.Log().ends_with("\r\n\r\n" + std::string(ui::kCompletedBanner)));
}

TEST(SaveAll, DecliningToOverwriteTheLastFileAbortsTheRun) {
  DesktopHarness h;
  const std::vector<std::string> sources = Sources(h, 2);
  WriteFile(h.destinationFolder + "/f2.pdf", "older copy");
  h.Repair(sources);
  h.pickers.NextFolder(h.destinationFolder + "/");
  h.Click("preview", ids::kSaveAllButton);
  h.Expect("File already exist. Do you want to overwrite?", kNo);
  h.Expect(ui::kSavingAborted, kOk);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_TRUE(fs::exists(h.destinationFolder + "/f1.pdf"));
  EXPECT_EQ(ReadFile(h.destinationFolder + "/f2.pdf"), "older copy");
  EXPECT_EQ(h.Log().find("Repairing Completed"), std::string::npos);
  EXPECT_EQ(h.messages.shown.back().owner, nullptr);
}

TEST(SaveAll, ON_THIS_SYSTEM(AnEarlierFileThatCannotBeReadAbortsTheRunToo)) {
  DesktopHarness h;
  const std::vector<std::string> sources = Sources(h, 3);
  h.Repair(sources);
  h.Then("the first source disappears", [&] { fs::remove(sources[0]); });
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", ids::kSaveAllButton);
  h.Expect(" Source file is not opened !! \n" + sources[0] + ": " + MissingFileText(), kOk);
  h.Expect("Saving failed: 2 of 3 files were saved.", kOk);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_TRUE(fs::exists(h.destinationFolder + "/f2.pdf"));
  EXPECT_TRUE(fs::exists(h.destinationFolder + "/f3.pdf")) << "every file is attempted";
  EXPECT_EQ(h.Log().find("Repairing Completed"), std::string::npos);
}

TEST(SaveCurrent, ReturnsToThePreviewAndLeavesTheShownCopyAlone) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  const std::string b = h.WriteSource("b.pdf");
  const std::string originalA = ReadFile(a);
  std::string saved;
  // The second repair comes a second later: one in the same second would share the work folder
  // and, while the first copy awaits its delayed clean-up, ask to overwrite it.
  h.clock.fixed = LocalTime{10, 20, 30, 7, 12, 2026};
  h.Repair({a, b});
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", ids::kSaveCurrentButton);
  h.Then("back in the preview", [&] {
    saved = ReadFile(h.destinationFolder + "/a.pdf");
    EXPECT_EQ(h.views.Opened("saving"), 1);
    EXPECT_TRUE(h.views.Preview().visible);
    EXPECT_FALSE(h.App().Job().saveMode);
    EXPECT_FALSE(h.App().Job().saveCurrent);
  });
  h.Click("preview", ids::kNextFile);
  h.Click("preview", ids::kBackFile);
  h.Click("preview", ids::kBack);
  h.Expect(ui::kPreviousStepQuestion, kYes);
  h.Then("a second passes", [&] { h.clock.fixed->second += 1; });
  h.Click("main", ids::kRepair);
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(ReadFile(h.destinationFolder + "/a.pdf"), saved) << "the saved copy survives";
  EXPECT_EQ(std::distance(fs::directory_iterator(h.destinationFolder), fs::directory_iterator()),
            1);
  EXPECT_EQ(ReadFile(a), originalA);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
}

// A folder where a copy would replace its own source is refused before any question, and the
// choice is asked again: cancelled, or answered with another folder.
TEST(Saving, IntoTheSourcesOwnFolderIsRefusedAndTheFolderAskedAgain) {
  for (const bool saveAll : {false, true}) {
    SCOPED_TRACE(saveAll ? "Save All" : "Save Current");
    DesktopHarness h;
    // In the system's own form: the Windows file dialog gives paths with backslashes only.
    const std::string a = std::filesystem::path(h.WriteSource("a.pdf")).make_preferred().string();
    const std::string b = std::filesystem::path(h.WriteSource("b.pdf")).make_preferred().string();
    const std::string original = ReadFile(a);
    h.Repair({a, b});
    const int button = saveAll ? ids::kSaveAllButton : ids::kSaveCurrentButton;
    h.pickers.NextFolder(h.sourceFolder);
    h.pickers.NextFolder(std::nullopt);
    h.Click("preview", button);
    h.Expect(ui::kCopyCannotReplaceOriginal, kOk);
    h.Then("nothing saved", [&] {
      EXPECT_EQ(h.views.Opened("saving"), 0);
      EXPECT_EQ(h.pickers.folderTitles.size(), 2u);
    });
    h.pickers.NextFolder(h.sourceFolder + "/");
    h.pickers.NextFolder(h.destinationFolder);
    h.Click("preview", button);
    h.Expect(ui::kCopyCannotReplaceOriginal, kOk);
    if (saveAll) {
      h.Then("the completion dialog", [&] {
        h.views.Open("completion").Events().OnCommand(ids::kCompletionOk);
      });
    } else {
      h.Click("preview", ids::kToolbarExit);
      h.Expect(ui::kExitQuestion, kYes);
    }
    EXPECT_EQ(h.Run(), 0);
    EXPECT_EQ(ReadFile(a), original);
    EXPECT_TRUE(fs::exists(h.destinationFolder + "/a.pdf"));
    EXPECT_EQ(fs::exists(h.destinationFolder + "/b.pdf"), saveAll);
    EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
  }
}

// The folder choice opens where the last save went, unless that folder would now be refused.
TEST(Saving, TheFolderChoiceOpensOnTheLastDestination) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  h.settings.Write(ui::kSettingsKeyName, "LastDestination", h.sourceFolder);
  h.Repair({a});
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", ids::kSaveCurrentButton);
  h.pickers.NextFolder(std::nullopt);
  h.Click("preview", ids::kSaveCurrentButton);
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.pickers.folderStarts, (std::vector<std::string>{"", h.destinationFolder}))
      << "not on the source's own folder, which is refused";
  EXPECT_EQ(h.settings.Read(ui::kSettingsKeyName, "LastDestination"), h.destinationFolder);
}

TEST(SaveAll, StoppingDeletesOnlyTheFileCutShort) {
  DesktopHarness h;
  const std::string small = h.WriteSource("a.pdf");
  const std::string large = h.WriteLargeSource("z.pdf");
  WriteFile(h.destinationFolder + "/other.pdf", "keep me");
  h.Repair({small, large});
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", ids::kSaveAllButton);
  h.loop.When(
      [&] {
        // Half way through the second file's rebuild: its output is open.
        if (h.views.Opened("saving") != 1) return false;
        ScriptedDialogView& saving = h.views.Open("saving");
        const std::vector<std::string>& steps = saving.textHistory[ids::kSavingStepLabel];
        return std::count(steps.begin(), steps.end(), "( Step 2 / 2 )") == 2 &&
               saving.progress[ids::kCurrentProgress] > 50;
      },
      [&] { h.views.Open("saving").Events().OnKey(Key::kEscape); });
  h.Expect(ui::kSavingEscapeExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_TRUE(fs::exists(h.destinationFolder + "/a.pdf"));
  EXPECT_FALSE(fs::exists(h.destinationFolder + "/z.pdf"));
  EXPECT_EQ(ReadFile(h.destinationFolder + "/other.pdf"), "keep me");
  EXPECT_TRUE(h.Log().ends_with("\r\n\r\n" + std::string(ui::kAbortedBanner)));
}

struct WayOut {
  const char* name;
  std::function<void(DesktopHarness&)> script;
};

void PrintTo(const WayOut& way, std::ostream* out) { *out << way.name; }

class EveryWayOut : public testing::TestWithParam<WayOut> {};

// Whichever way the program ends, its private work area keeps no work copy and no part file:
// the user's own files and the saved copies are all that is left.
TEST_P(EveryWayOut, LeavesNoWorkCopy) {
  DesktopHarness h;
  GetParam().script(h);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(PrivateFolderIn(h.temporaryFolder))) << "nor the emptied private folder";
}

const WayOut kWaysOut[] = {
    WayOut{"StopARepairThenExit",
           [](DesktopHarness& h) {
             h.Repair({h.WriteLargeSource("z.pdf")});
             h.loop.When([&h] { return AnalysisPast(h, 50); },
                         [&h] { h.views.Open("analysis").Events().OnCommand(ids::kAnalysisStop); });
             h.Expect(ui::kStopAnalysisQuestion, kYes);
             h.Click("main", ids::kToolbarExit);
             h.Expect(ui::kExitQuestion, kYes);
           }},
    WayOut{"EscapeDuringARepair",
           [](DesktopHarness& h) {
             h.Repair({h.WriteSource("a.pdf"), h.WriteLargeSource("z.pdf")});
             h.Click("preview", ids::kNextFile);
             h.loop.When([&h] { return h.views.Opened("analysis") == 2 && AnalysisPast(h, 50); },
                         [&h] { h.views.Open("analysis").Events().OnKey(Key::kEscape); });
             h.Expect(ui::kQuickExitQuestion, kYes);
           }},
    WayOut{"OkOnAnAbortedSaveAll",
           [](DesktopHarness& h) {
             const std::string a = h.WriteSource("a.pdf");
             h.Repair({a, h.WriteSource("b.pdf")});
             h.Then("a saved copy is in the way", [&h] {
               WriteFile(h.destinationFolder + "/b.pdf", "older");
             });
             h.pickers.NextFolder(h.destinationFolder);
             h.Click("preview", ids::kSaveAllButton);
             h.Expect("File already exist. Do you want to overwrite?", kNo);
             h.Expect(ui::kSavingAborted, kOk);
           }},
    WayOut{"StopDuringSaveCurrent",
           [](DesktopHarness& h) {
             h.Repair({h.WriteLargeSource("z.pdf")});
             h.pickers.NextFolder(h.destinationFolder);
             h.Click("preview", ids::kSaveCurrentButton);
             h.loop.When([&h] { return SavingPast(h, 50); },
                         [&h] { h.views.Open("saving").Events().OnCommand(ids::kSavingStop); });
             h.Expect(ui::kSavingStopQuestion, kYes);
           }},
    WayOut{"CloseBoxDuringSaveAll",
           [](DesktopHarness& h) {
             h.Repair({h.WriteLargeSource("z.pdf")});
             h.pickers.NextFolder(h.destinationFolder);
             h.Click("preview", ids::kSaveAllButton);
             h.loop.When([&h] { return SavingPast(h, 50); },
                         [&h] { h.views.Open("saving").Events().OnClose(); });
             h.Expect(ui::kSavingCloseQuestion, kYes);
           }},
    WayOut{"EscapeInThePreview",
           [](DesktopHarness& h) {
             h.Repair({h.WriteSource("a.pdf")});
             h.Press("preview", Key::kEscape);
             h.Expect(ui::kQuickExitQuestion, kYes);
           }},
};

INSTANTIATE_TEST_SUITE_P(Program, EveryWayOut, testing::ValuesIn(kWaysOut),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SavingDialog, PauseThenStopThenNoKeepsTheWorkerPaused) {
  DesktopHarness h;
  const std::string large = h.WriteLargeSource("z.pdf");
  h.Repair({large});
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", ids::kSaveCurrentButton);
  h.loop.When([&] { return SavingPast(h, 20); },
              [&] { h.views.Open("saving").Events().OnCommand(ids::kSavingPause); });
  h.Click("saving", ids::kSavingStop);
  h.Expect(ui::kSavingStopQuestion, kNo);
  h.Then("still paused", [&] {
    ScriptedDialogView& saving = h.views.Open("saving");
    EXPECT_EQ(saving.Look(ids::kSavingPause).caption, ui::kResume);
    EXPECT_EQ(saving.Look(ids::kSavingPause).normalBitmap, h.programFolder + "/Bmp/resume.bmp");
    EXPECT_TRUE(h.WorkersHeld());
    saving.Events().OnCommand(ids::kSavingPause);
    EXPECT_EQ(saving.Look(ids::kSavingPause).caption, ui::kPause);
  });
  h.Then("saved and back in the preview", [&] {
    EXPECT_TRUE(fs::exists(h.destinationFolder + "/z.pdf"));
    h.views.Preview().Events().OnClose();
  });
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

TEST(ChooseDestination, MissingFolderIsRefusedAndSaveModeCleared) {
  DesktopHarness h;
  h.Repair({h.WriteSource("a.pdf")});
  h.pickers.NextFolder(h.root.File("nowhere"));
  h.Click("preview", ids::kSaveAllButton);
  h.Expect(ui::kSavingPathMissing, kOk);
  h.pickers.NextFolder("");
  h.Click("preview", ids::kSaveCurrentButton);
  h.Expect(ui::kSavingPathMissing, kOk);
  h.pickers.NextFolder(std::nullopt);
  h.Click("preview", ids::kSaveCurrentButton);
  h.Then("nothing was saved", [&] {
    EXPECT_EQ(h.views.Opened("saving"), 0);
    EXPECT_FALSE(h.App().Job().saveMode);
    EXPECT_EQ(h.pickers.folderTitles.back(), ui::kChooseDestinationTitle);
  });
  h.Press("preview", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

}  // namespace
}  // namespace tarnwick::test
