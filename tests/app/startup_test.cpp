#include <gtest/gtest.h>

#include <filesystem>

#include "app_texts.h"
#include "bmp_file.h"
#include "control_ids.h"
#include "desktop_harness.h"
#include "part_file_name.h"
#include "system_environment.h"
#include "work_files.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;
using enum MessageAnswer;

TEST(Startup, ASecondInstanceIsRefusedWhileAnyMainDialogShowsTheTitle) {
  DesktopHarness h;
  h.titles.otherProcesses.insert(ui::kWindowTitle);
  h.Expect(ui::kAlreadyRunning, kOk);
  EXPECT_EQ(h.Run(), 0);
  const MessageBoxRequest& refusal = h.messages.shown.at(0);
  EXPECT_EQ(refusal.caption, "Tarnwick For Adobe PDF");
  EXPECT_EQ(refusal.owner, nullptr);
  EXPECT_EQ(refusal.icon, MessageIcon::kInformation);
  EXPECT_TRUE(refusal.systemModal);
  EXPECT_EQ(h.views.Opened("main"), 0);
}

TEST(Startup, EveryOpenWindowCarriesTheTitleEvenWhenHidden) {
  DesktopHarness h;
  h.Repair({h.WriteSource("a.pdf")});
  h.Then("the main window is hidden behind the preview", [&] {
    EXPECT_FALSE(h.views.Main().visible);
    EXPECT_EQ(h.titles.shown[ui::kWindowTitle], 2);
    EXPECT_TRUE(h.titles.Exists(ui::kWindowTitle));
  });
  h.Press("preview", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

TEST(Startup, RegistrationSwitchesOpenNoWindow) {
  DesktopHarness h;
  EXPECT_EQ(h.Run({"-REGISTER"}), std::nullopt);
  EXPECT_EQ(h.settings.Read("ZazoRavazu.Application", "CLSID").size(), 38u);
  EXPECT_EQ(h.Run({"/Unregister"}), std::nullopt);
  EXPECT_FALSE(h.settings.keys.contains("ZazoRavazu.Application"));
  EXPECT_EQ(h.views.Opened("main"), 0);
}

TEST(Startup, ShowsTheSplashAndTheMainWindowsLook) {
  DesktopHarness h;
  fs::create_directories(h.programFolder + "/Bmp");
  BmpImage flash{.width = 4, .height = 2, .pixels = std::vector<Rgb>(8, Rgb{255, 0, 240})};
  flash.pixels[5] = {1, 2, 3};
  ASSERT_TRUE(WriteBmp24(h.programFolder + "/Bmp/Flash.bmp", flash));
  h.Then("look at the main window", [&] {
    ScriptedMainView& main = h.views.Main();
    EXPECT_EQ(main.title, ui::kWindowTitle);
    EXPECT_EQ(main.background, h.programFolder + "/Bmp/Browse.bmp");
    EXPECT_FALSE(main.menuEnabled[ids::kMenuSaveCurrent]);
    EXPECT_FALSE(main.menuEnabled[ids::kMenuSaveAll]);
    EXPECT_EQ(main.Look(ids::kToolbarOpen).hoverBitmap, h.programFolder + "/Bmp/OpenA.bmp");
    EXPECT_EQ(main.Look(ids::kClearSelected).normalBitmap,
              h.programFolder + "/Bmp/clearselected-d.bmp");
    EXPECT_FALSE(main.controlEnabled[ids::kClearSelected]);
    EXPECT_EQ(h.views.splash.parent, &main);
    EXPECT_EQ(h.views.splash.pictureWidth, 4);
    EXPECT_EQ(h.views.splash.shapeRects, 1u);
    EXPECT_TRUE(h.views.splash.destroyed);
    EXPECT_EQ(h.loop.WindowThreadWaits(), std::vector<int>{2500});
  });
  h.Click("main", ids::kToolbarAbout);
  h.Then("the About box belongs to the main window",
         [&] { EXPECT_EQ(h.views.aboutOwners.back(), &h.views.Main()); });
  h.Click("main", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
}

TEST(MainWindowNotices, NothingToRepairOrToClear) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  h.Click("main", ids::kRepair);
  h.Expect(ui::kNoFileSelected, kOk);
  h.AddFiles({a});
  h.Click("main", ids::kClearSelected);
  h.Expect(ui::kSelectFileToRemove, kOk);
  h.Click("main", ids::kClearAll);
  h.Expect(ui::kClearAllQuestion, kNo);
  h.Click("main", ids::kClearAll);
  h.Expect(ui::kClearAllQuestion, kYes);
  h.Click("main", ids::kRepair);
  h.Expect(ui::kNoFileSelected, kOk);
  h.Click("main", ids::kClearAll);  // nothing left: no question
  h.AddFiles({a});
  h.Then("the last picked file disappears", [&] { fs::remove(a); });
  h.Click("main", ids::kRepair);
  h.Expect(ui::kNoFileSelected, kOk);
  h.Click("main", ids::kToolbarExit);
  h.Expect(ui::kExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.Log(), "1-   " + a + "\r\n") << "only the last Repair had a file to list";
  EXPECT_EQ(h.pickers.fileRequests.at(0).title, ui::kOpenTitle);
  EXPECT_EQ(h.pickers.fileRequests.at(0).patterns, (std::vector<std::string>{"*.pdf", "*.PDF"}));
  EXPECT_TRUE(h.pickers.fileRequests.at(0).multipleSelection);
}

TEST(Help, ShowsOnlyTheProgramFoldersDocument) {
  DesktopHarness h;
  h.shell.showResult = [](const ShownDocument&) { return false; };
  h.Click("main", ids::kToolbarHelp);
  h.Then("help already open", [&] { h.titles.otherProcesses.insert(ui::kHelpWindowTitle); });
  h.Press("main", Key::kF1);
  h.Press("main", Key::kEscape);
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  const std::string document = h.programFolder + "/Tarnwick for Adobe PDF.html";
  ASSERT_EQ(h.shell.shown.size(), 1u);
  EXPECT_EQ(h.shell.shown[0].document, document);
  EXPECT_EQ(h.shell.shown[0].programFolder, h.programFolder);
  EXPECT_EQ(h.titles.withdrawals, 1) << "the program's end withdraws its titles";
  ASSERT_EQ(h.views.helpWindows.size(), 1u)
      << "no viewer started: the program's own window shows it";
  EXPECT_EQ(h.views.helpWindows[0].documentPath, document);
}

// The program's own help window is the last resort: only when the system started no viewer, and
// over the window that asked.
TEST(Help, ShowsItsOwnWindowOnlyWhenNoViewerStarts) {
  struct Row {
    const char* name;
    bool viewerStarts;
    std::string window;
    std::size_t helpWindows;
  };
  for (const Row& row : {Row{"a viewer starts", true, "main", 0},
                         Row{"none starts in the main window", false, "main", 1},
                         Row{"none starts in the preview", false, "preview", 1}}) {
    SCOPED_TRACE(row.name);
    DesktopHarness h;
    h.shell.showResult = [&row](const ShownDocument&) { return row.viewerStarts; };
    if (row.window == "preview") h.Repair({h.WriteSource("a.pdf")});
    h.Press(row.window, Key::kF1);
    h.Then("check the help window", [&] {
      ASSERT_EQ(h.views.helpWindows.size(), row.helpWindows);
      if (row.helpWindows == 0) return;
      EXPECT_EQ(h.views.helpWindows[0].owner, &h.views.Open(row.window));
      EXPECT_EQ(h.views.helpWindows[0].documentPath,
                h.programFolder + "/Tarnwick for Adobe PDF.html");
    });
    h.Press(row.window, Key::kEscape);
    h.Expect(ui::kQuickExitQuestion, kYes);
    EXPECT_EQ(h.Run(), 0);
  }
}

TEST(CleanUp, TouchesNothingOutsideTheWorkFolders) {
  DesktopHarness h;
  const std::string user = h.WriteSource("mine.pdf");
  const std::string work = PrivateFolderIn(h.temporaryFolder) + "/1-2-3-4-5-2026";
  fs::create_directories(work);
  WriteFile(work + "/copy.pdf", "copy");
  const std::string lookalike = PrivateFolderIn(h.temporaryFolder) + "/notes/copy.pdf";
  fs::create_directories(lookalike.substr(0, lookalike.rfind('/')));
  WriteFile(lookalike, "not a work copy");
  for (CleanUpMode mode : {CleanUpMode::afterPreview, CleanUpMode::atExit}) {
    h.App().workCopies.pending = {user, lookalike, work + "/../../../sources/mine.pdf",
                                  work + "/copy.pdf", user};
    CleanUpWorkFiles(h.App(), mode);
  }
  EXPECT_TRUE(fs::exists(user));
  EXPECT_TRUE(fs::exists(lookalike));
  EXPECT_FALSE(fs::exists(work));
  EXPECT_TRUE(h.shell.opened.empty()) << "nothing outside a work folder goes to fileDelete";
}

// Files given on the command line (by a file manager's "Open with", or dropped on the program)
// go into the list as picked files do; the automation switches are no files.
TEST(Startup, FilesOnTheCommandLineGoIntoTheList) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  const std::string b = h.WriteSource("b.pdf");
  h.Then("the list holds the files given", [&] {
    EXPECT_EQ(h.views.Main().rows, (std::vector<std::string>{a, b}));
  });
  h.Click("main", ids::kRepair);
  h.Then("the first is repaired", [&] {
    EXPECT_EQ(h.views.Preview().texts[ids::kSourcePath], a);
    h.views.Preview().Events().OnKey(Key::kEscape);
  });
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run({"-Embedding", a, h.sourceFolder + "/missing.pdf", b}), 0);
}

// A killed run leaves its copies, part files and work folders; the next start removes them, but
// not a part file whose writer still runs, nor anything outside the work folders.
TEST(CleanUp, TheStartRemovesWhatAKilledRunLeft) {
  constexpr unsigned long kNoProcess = 0x7FFFFFF1;
  DesktopHarness h;
  const std::string privateFolder = PrivateFolderIn(h.temporaryFolder);
  const std::string killed = privateFolder + "/1-2-3-4-5-2026";
  const std::string stopped = privateFolder + "/6-7-8-9-10-2026";
  const std::string notes = privateFolder + "/notes";
  for (const std::string& folder : {killed, stopped, notes}) fs::create_directories(folder);
  WriteFile(killed + "/copy.pdf", "copy");
  WriteFile(killed + "/" + PartFileName(kNoProcess, 0, 0), "part of a dead writer");
  const std::string held = killed + "/" + PartFileName(CurrentProcessId(), 7, 0);
  WriteFile(held, "part of a running writer");
  WriteFile(notes + "/copy.pdf", "not a work copy");
  h.Then("leave", [&] { h.views.Main().Events().OnKey(Key::kEscape); });
  h.Expect(ui::kQuickExitQuestion, kYes);
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), (std::vector<std::string>{killed, held, notes, notes + "/copy.pdf"}));
}

}  // namespace
}  // namespace tarnwick::test
