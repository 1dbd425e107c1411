#include "activity_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app_texts.h"
#include "desktop_harness.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

class ActivityLog : public ::testing::Test {
 protected:
  ActivityLog() { h.App().settings.settingsKeyName = ui::kSettingsKeyName; }
  std::string LogIn(const std::string& folder) { return ReadFile(folder + "/Activity Log.txt"); }

  DesktopHarness h;
};

TEST_F(ActivityLog, GoesToLogPathWhenItExistsWithOrWithoutSeparatorElseToTheProgramFolder) {
  const std::string logs = h.root.File("logs");
  fs::create_directories(logs);
  h.settings.Write("TWPDF", "LogPath", logs);
  EXPECT_TRUE(AppendToLog(h.App(), "one"));
  h.settings.Write("TWPDF", "LogPath", logs + "/");
  EXPECT_TRUE(AppendToLog(h.App(), "two"));
  EXPECT_EQ(LogIn(logs), "onetwo");
  h.settings.Write("TWPDF", "LogPath", h.root.File("missing"));
  EXPECT_TRUE(AppendToLog(h.App(), "three"));
  EXPECT_EQ(LogIn(h.programFolder), "three");
}

TEST_F(ActivityLog, StartsAfreshOnlyAboveFiveMebibytes) {
  const std::string path = h.programFolder + "/Activity Log.txt";
  WriteFile(path, std::string(5'242'880, 'x'));
  EXPECT_TRUE(AppendToLog(h.App(), "kept"));
  EXPECT_EQ(fs::file_size(path), 5'242'884u);
  EXPECT_TRUE(AppendToLog(h.App(), "fresh"));
  EXPECT_EQ(ReadFile(path), "fresh");
}

TEST_F(ActivityLog, MakesAReadOnlyLogWritable) {
  const std::string path = h.programFolder + "/Activity Log.txt";
  WriteFile(path, "old ");
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_TRUE(AppendToLog(h.App(), "new"));
  EXPECT_EQ(ReadFile(path), "old new");
  EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(ActivityLog, FailsQuietlyWhenNoFolderCanTakeIt) {
  h.settings.Write("TWPDF", "FilePath", h.root.File("nowhere"));
  EXPECT_FALSE(AppendToLog(h.App(), "lost"));
}

TEST_F(ActivityLog, WritesLongTextsWholeAndReplacesWhatIsNotText) {
  const std::string longPath = "/" + std::string(3000, 'p') + "/\xC3\xA9t\xC3\xA9.pdf";
  EXPECT_TRUE(AppendToLog(h.App(), longPath));
  EXPECT_TRUE(AppendToLog(h.App(), std::string("bad \xFF\xC3 byte\0hidden", 18)));
  EXPECT_EQ(LogIn(h.programFolder), longPath + "bad ?? byte");
  EXPECT_EQ(LogBytes("\xED\xA0\x80"), "???") << "an encoded surrogate is not text";
  EXPECT_EQ(LogBytes("\xF0\x9F\x93\x84"), "\xF0\x9F\x93\x84");
}

TEST(ActivityLogRuns, TheNextRunsFirstLineStartsALineOfItsOwnAfterTheBanner) {
  DesktopHarness h;
  const std::string a = h.WriteSource("a.pdf");
  h.Repair({a});
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", 1016);
  h.Press("completion", Key::kEscape);
  h.Expect(ui::kSavingEscapeQuestion, MessageAnswer::kNo);
  h.CloseBox("completion");
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.WorkCopies(), std::vector<std::string>{});

  DesktopHarness next;
  next.settings.Write("TWPDF", "FilePath", h.programFolder);
  const std::string b = next.WriteSource("b.pdf");
  next.AddFiles({b});
  next.Click("main", 1005);
  next.Press("preview", Key::kEscape);
  next.Expect(ui::kQuickExitQuestion, MessageAnswer::kYes);
  EXPECT_EQ(next.Run(), 0);
  EXPECT_EQ(h.Log(),
            "1-   " + a + "\r\n\r\n\r\n" + ui::kCompletedBanner + "\r\n1-   " + b + "\r\n");
}

}  // namespace
}  // namespace tarnwick::test
