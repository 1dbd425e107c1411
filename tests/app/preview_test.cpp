#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app_texts.h"
#include "control_ids.h"
#include "desktop_harness.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;
using enum MessageAnswer;

// The work copy of a source, by its file name; empty when there is none.
std::string WorkCopyOf(const DesktopHarness& h, const std::string& name) {
  for (const std::string& path : h.WorkCopies()) {
    if (path.ends_with("/" + name)) return path;
  }
  return {};
}

TEST(Preview, StepsThroughThreeFilesShowingEachNewCopyAndDeletingThePreviousOne) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  const std::string b = h.WriteSource("b.pdf");
  const std::string c = h.WriteSource("c.pdf");
  h.Repair({a, b, c});
  h.Then("the first copy is shown", [&] {
    ScriptedPreviewView& preview = h.views.Preview();
    EXPECT_EQ(preview.title, ui::kWindowTitle);
    EXPECT_FALSE(h.views.Main().visible);
    EXPECT_EQ(preview.texts[ids::kSourcePath], a);
    EXPECT_EQ(preview.texts[ids::kFileNumber], "1");
    EXPECT_EQ(preview.texts[ids::kFileCount], "3");
    EXPECT_EQ(preview.VisiblePane().address, WorkCopyOf(h, "a.pdf") + "#toolbar=0");
    EXPECT_EQ(preview.firstPane.width, 500);
    EXPECT_EQ(preview.firstPane.height, ScriptedPreviewView::kWindowBottom - 200);
    EXPECT_EQ(preview.secondPane.width, 0);
    EXPECT_EQ(preview.Look(ids::kBackFile).normalBitmap, h.programFolder + "/Bmp/backfile-d.bmp");
    EXPECT_EQ(preview.Look(ids::kNextFile).normalBitmap, h.programFolder + "/Bmp/nextfile-a.bmp");
  });
  h.Click("preview", ids::kNextFile);
  h.Then("the second copy is shown in the second pane", [&] {
    ScriptedPreviewView& preview = h.views.Preview();
    EXPECT_EQ(preview.texts[ids::kFileNumber], "2");
    EXPECT_EQ(preview.texts[ids::kSourcePath], b);
    EXPECT_EQ(preview.firstPane.width, 0);
    EXPECT_EQ(preview.secondPane.address, WorkCopyOf(h, "b.pdf") + "#toolbar=0");
    EXPECT_EQ(preview.firstPane.address, ui::kBlankPage);
    EXPECT_EQ(WorkCopyOf(h, "a.pdf"), "") << "the previous copy is deleted";
    EXPECT_EQ(preview.Look(ids::kBackFile).normalBitmap, h.programFolder + "/Bmp/backfile-a.bmp");
  });
  h.Click("preview", ids::kNextFile);
  h.Then("the last file makes Next File inactive", [&] {
    ScriptedPreviewView& preview = h.views.Preview();
    EXPECT_EQ(preview.texts[ids::kFileNumber], "3");
    EXPECT_EQ(preview.firstPane.address, WorkCopyOf(h, "c.pdf") + "#toolbar=0");
    EXPECT_EQ(preview.Look(ids::kNextFile).normalBitmap, h.programFolder + "/Bmp/nextfile-d.bmp");
    EXPECT_EQ(WorkCopyOf(h, "b.pdf"), "");
  });
  h.Click("preview", ids::kNextFile);  // inactive: waits and changes nothing
  h.Click("preview", ids::kBackFile);
  h.Click("preview", ids::kBackFile);
  h.Then("back at the first file", [&] {
    ScriptedPreviewView& preview = h.views.Preview();
    EXPECT_EQ(preview.texts[ids::kFileNumber], "1");
    EXPECT_EQ(preview.secondPane.address, WorkCopyOf(h, "a.pdf") + "#toolbar=0");
    EXPECT_EQ(preview.Look(ids::kBackFile).normalBitmap, h.programFolder + "/Bmp/backfile-d.bmp");
    EXPECT_EQ(h.views.Opened("analysis"), 5);
  });
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{}) << "Exit deletes every copy and folder";
  EXPECT_EQ(h.loop.WindowThreadWaits(), (std::vector<int>{2500, 500, 500, 500, 500, 500}));
}

// A copy whose page tree lists no page would show an empty pane, and one that lost pages of its
// file fewer pages than it had: the user is told each time such a copy is about to be shown,
// first or after a move, and may still go on.
TEST(Preview, ACopyThatLacksPagesIsAnnouncedBeforeItIsShown) {
  DesktopHarness h;
  const std::string text = h.sourceFolder + "/notes.pdf";
  WriteFile(text, "Meeting notes, not a PDF at all.\n");
  const std::string good = h.WriteSource("good.pdf");
  const std::string torn = h.WriteTornSource("torn.pdf");
  h.Expect(text + "\n\n" + ui::kNotAPdfQuestion, kYes);
  h.Repair({text, good, torn});
  h.Expect(ui::kNoPageRecovered, kOk, [&] {
    EXPECT_TRUE(h.views.Preview().visible) << "the notice stands over the program's window";
    EXPECT_EQ(h.messages.shown.back().owner, &h.views.Preview());
  });
  h.Then("the empty copy is shown", [&] {
    EXPECT_EQ(h.messages.shown.back().icon, MessageIcon::kInformation);
    EXPECT_FALSE(h.views.Preview().navigations.empty());
  });
  h.Click("preview", ids::kNextFile);
  h.Click("preview", ids::kBackFile);
  h.Expect(ui::kNoPageRecovered, kOk);
  h.Click("preview", ids::kNextFile);
  h.Click("preview", ids::kNextFile);
  h.Expect("2 of 3 pages could be recovered from this file.", kOk);
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.messages.shown.size(), 5u) << "the whole copy came without a notice";
}

TEST(Preview, SingleFileKeepsBothMovesInactiveAndBackShowsTheMainWindowAtOnceThenCleansUp) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  h.Repair({a});
  h.Click("preview", ids::kNextFile);
  h.Click("preview", ids::kBackFile);
  h.Then("nothing moved", [&] {
    EXPECT_EQ(h.views.Opened("analysis"), 1);
    EXPECT_NE(WorkCopyOf(h, "a.pdf"), "");
  });
  h.Click("preview", ids::kBack);
  h.Expect(ui::kPreviousStepQuestion, kNo);
  h.Click("preview", ids::kBack);
  h.Expect(ui::kPreviousStepQuestion, kYes);
  h.Then("the main window is back at once, the copy shown last is not yet deleted", [&] {
    EXPECT_TRUE(h.views.Main().visible);
    EXPECT_NE(WorkCopyOf(h, "a.pdf"), "");
    EXPECT_EQ(h.loop.WindowThreadWaits().size(), 3u) << "no wait of the window thread";
  });
  h.PassTime(1999);
  h.Then("the preview may still hold the copy", [&] { EXPECT_NE(WorkCopyOf(h, "a.pdf"), ""); });
  h.PassTime(1);
  h.Then("the copy and its work folder are gone", [&] {
    EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
    EXPECT_TRUE(h.App().workCopies.pending.empty());
  });
  h.Click("main", ids::kRepair);
  h.Then("a new preview counts from the first file", [&] {
    EXPECT_EQ(h.views.Opened("preview"), 2);
    EXPECT_EQ(h.views.Preview().texts[ids::kFileNumber], "1");
  });
  h.Press("preview", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{}) << "Escape leaves no work copy either";
}

TEST(Preview, ACopyOfTheSameNameInANewPreviewOutlivesTheEarlierPreviewsDelayedCleanUp) {
  DesktopHarness h;
  h.clock.fixed = LocalTime{10, 20, 30, 7, 12, 2026};
  const std::string a = h.WriteSource("a.pdf");
  std::string copy;
  h.Repair({a});
  h.Then("note the copy", [&] { copy = WorkCopyOf(h, "a.pdf"); });
  h.Click("preview", ids::kBack);
  h.Expect(ui::kPreviousStepQuestion, kYes);
  h.Click("main", ids::kRepair);
  h.Expect("File already exist. Do you want to overwrite?", kYes);
  h.PassTime(2000);
  h.Then("the new preview shows its copy under the same name", [&] {
    EXPECT_EQ(WorkCopyOf(h, "a.pdf"), copy);
    EXPECT_EQ(h.views.Preview().VisiblePane().address, copy + "#toolbar=0");
  });
  h.Click("preview", ids::kBack);
  h.Expect(ui::kPreviousStepQuestion, kYes);
  h.PassTime(2000);
  h.Then("that preview's clean-up takes the copy along", [&] {
    EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
    EXPECT_TRUE(h.App().workCopies.pending.empty());
  });
  h.Click("main", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

// A copy is the clean-up's from the moment it goes on display, also when the pane never said
// that it finished loading it: going back, repairing again and leaving leaves nothing behind.
TEST(Preview, ACopyThatNeverFinishedLoadingIsCleanedUpToo) {
  DesktopHarness h;
  h.views.panesNeverFinish = true;
  h.clock.fixed = LocalTime{10, 20, 30, 7, 12, 2026};
  const std::string a = h.WriteSource("a.pdf");
  const std::string b = h.WriteSource("b.pdf");
  h.Repair({a});
  h.Click("preview", ids::kBack);
  h.Expect(ui::kPreviousStepQuestion, kYes);
  h.Then("a second passes", [&] { h.clock.fixed->second += 1; });
  h.AddFiles({b});
  h.Click("main", ids::kRepair);
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});
}

TEST(Preview, AboutUsComesFromTheToolbarAndTheHelpMenu) {
  DesktopHarness h;
  h.Repair({h.WriteSource("a.pdf")});
  h.Click("preview", ids::kToolbarAbout);
  h.Click("preview", ids::kMenuAbout);
  h.Then("both About boxes belong to the preview", [&] {
    WindowHandle* preview = &h.views.Preview();
    EXPECT_EQ(h.views.aboutOwners, (std::vector<WindowHandle*>{preview, preview}));
  });
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

TEST(Preview, ExitHandsAnUndeletableLastCopyToTheDeletionProgram) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  std::unique_ptr<SourceFile> held;
  h.Repair({a});
  h.Then("another program holds the copy; the first pane raises errors", [&] {
    held = h.files.OpenForReading(WorkCopyOf(h, "a.pdf"));
    ASSERT_NE(held, nullptr);
    h.views.Preview().firstPane.failing = true;
  });
  h.Click("preview", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  const std::string copy = WorkCopyOf(h, "a.pdf");
  ASSERT_EQ(h.shell.opened.size(), 1u);
  EXPECT_EQ(h.shell.opened[0].file, h.programFolder + "/fileDelete");
  EXPECT_EQ(h.shell.opened[0].arguments,
            (std::vector<std::string>{h.files.ShortPath(copy), copy.substr(0, copy.rfind('/'))}));
}

TEST(Preview, ANewCopyThatReplacedTheShownOneUnderTheSameNameIsKept) {
  DesktopHarness h;
  h.clock.fixed = LocalTime{10, 20, 30, 7, 12, 2026};
  fs::create_directories(h.sourceFolder + "/one");
  fs::create_directories(h.sourceFolder + "/two");
  const std::string first = h.WriteSource("one/report.pdf");
  const std::string second = h.WriteSource("two/report.pdf");
  h.Repair({first, second});
  h.Click("preview", ids::kNextFile);
  h.Expect("File already exist. Do you want to overwrite?", kYes);
  h.Then("the second file's copy is on display", [&] {
    const std::string copy = WorkCopyOf(h, "report.pdf");
    ASSERT_NE(copy, "");
    EXPECT_NE(ReadFile(copy).find("two/report.pdf page 1"), std::string::npos);
    EXPECT_EQ(h.views.Preview().VisiblePane().address, copy + "#toolbar=0");
  });
  h.Press("preview", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

}  // namespace
}  // namespace tarnwick::test
