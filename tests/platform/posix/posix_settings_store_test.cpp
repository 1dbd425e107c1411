// The INI settings store on real files: what it reads, what a write or a key removal leaves in
// the file, and where the store is by the environment.
#include "posix_settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "posix_process_services.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

using test::ReadFile;
using test::WriteFile;

constexpr char kInstalled[] =
    "; written by the installation\n"
    "[Other]\n"
    "FilePath=elsewhere\n"
    "\n"
    "[TWPDF]\n"
    "FilePath=/opt/tarnwick/tarnwick\n"
    "LogPath=  /var/log/my logs/  \n"
    "Query=a=b\n"
    "Empty=\n"
    "\n"
    "; the help viewer\n"
    "[Help]\n"
    "Viewer=xdg-open\n";

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::string Path() const { return folder_.File("registry.ini"); }

  test::TempFolder folder_;
  PosixSettingsStore store_{folder_.File("registry.ini")};
};

TEST_F(SettingsStoreTest, ReadsTheValueAfterTheFirstEqualsSignVerbatim) {
  WriteFile(Path(), kInstalled);
  EXPECT_EQ(store_.Read("TWPDF", "FilePath"), "/opt/tarnwick/tarnwick");
  EXPECT_EQ(store_.Read("TWPDF", "LogPath"), "  /var/log/my logs/  ");
  EXPECT_EQ(store_.Read("TWPDF", "Query"), "a=b");
  EXPECT_EQ(store_.Read("Other", "FilePath"), "elsewhere");
  // Key and value names are matched as registry names are, without regard to case.
  EXPECT_EQ(store_.Read("twpdf", "filepath"), "/opt/tarnwick/tarnwick");
}

TEST_F(SettingsStoreTest, MissingFileKeyOrValueReadsEmpty) {
  EXPECT_EQ(store_.Read("TWPDF", "FilePath"), "");
  WriteFile(Path(), kInstalled);
  EXPECT_EQ(store_.Read("TWPDF", "Empty"), "");
  EXPECT_EQ(store_.Read("TWPDF", "Viewer"), "");  // in [Help], not in [TWPDF]
  EXPECT_EQ(store_.Read("Missing", "FilePath"), "");
  // A comment line is not a value, whatever it holds.
  WriteFile(Path(), "[TWPDF]\n; FilePath=commented out\n");
  EXPECT_EQ(store_.Read("TWPDF", "; FilePath"), "");
}

TEST_F(SettingsStoreTest, ReadsTheFileAfreshEveryTime) {
  WriteFile(Path(), "[TWPDF]\nFilePath=first\n");
  EXPECT_EQ(store_.Read("TWPDF", "FilePath"), "first");
  WriteFile(Path(), "[TWPDF]\nFilePath=second\n");
  EXPECT_EQ(store_.Read("TWPDF", "FilePath"), "second");
  std::filesystem::remove(Path());
  EXPECT_EQ(store_.Read("TWPDF", "FilePath"), "");
}

TEST_F(SettingsStoreTest, CrlfFilesReadWithoutTheCarriageReturnAndKeepTheirLineEnds) {
  WriteFile(Path(), "[TWPDF]\r\nFilePath=C:/with space \r\nLogPath=x\r\n");
  EXPECT_EQ(store_.Read("TWPDF", "FilePath"), "C:/with space ");
  EXPECT_EQ(store_.Read("TWPDF", "LogPath"), "x");
  ASSERT_TRUE(store_.Write("TWPDF", "LogPath", "y"));
  ASSERT_TRUE(store_.Write("New", "Name", "v"));
  EXPECT_EQ(ReadFile(Path()),
            "[TWPDF]\r\nFilePath=C:/with space \r\nLogPath=y\r\n\r\n[New]\r\nName=v\r\n");
}

TEST_F(SettingsStoreTest, WriteChangesOnlyTheValueAndKeepsSectionsAndComments) {
  WriteFile(Path(), kInstalled);
  ASSERT_TRUE(store_.Write("TWPDF", "FilePath", " /usr/bin/tarnwick "));
  ASSERT_TRUE(store_.Write("TWPDF", "Added", "new value"));
  ASSERT_TRUE(store_.Write("Fresh", "One", "1"));
  EXPECT_EQ(ReadFile(Path()),
            "; written by the installation\n"
            "[Other]\n"
            "FilePath=elsewhere\n"
            "\n"
            "[TWPDF]\n"
            "FilePath= /usr/bin/tarnwick \n"
            "LogPath=  /var/log/my logs/  \n"
            "Query=a=b\n"
            "Empty=\n"
            "Added=new value\n"
            "\n"
            "; the help viewer\n"
            "[Help]\n"
            "Viewer=xdg-open\n"
            "\n"
            "[Fresh]\n"
            "One=1\n");
  EXPECT_EQ(store_.Read("TWPDF", "FilePath"), " /usr/bin/tarnwick ");
}

TEST_F(SettingsStoreTest, WriteMakesTheFileAndItsFoldersAndReplacesTheFileAtOnce) {
  const std::string nested = folder_.File("a/b/registry.ini");
  PosixSettingsStore store(nested);
  ASSERT_TRUE(store.Write("TWPDF", "FilePath", "x"));
  EXPECT_EQ(ReadFile(nested), "[TWPDF]\nFilePath=x\n");

  ::chmod(nested.c_str(), 0600);
  struct stat before {};
  ASSERT_EQ(::stat(nested.c_str(), &before), 0);
  ASSERT_TRUE(store.Write("TWPDF", "FilePath", "y"));
  struct stat after {};
  ASSERT_EQ(::stat(nested.c_str(), &after), 0);
  // A new file renamed into place (so a reader never sees half of it), with the old mode, and
  // no temporary file left beside it.
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode & 07777, 0600u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.File("a/b")),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(SettingsStoreTest, WriteThroughALinkKeepsTheLink) {
  WriteFile(folder_.File("real.ini"), "[TWPDF]\nFilePath=x\n");
  std::filesystem::create_symlink("real.ini", Path());
  ASSERT_TRUE(store_.Write("TWPDF", "FilePath", "y"));
  EXPECT_TRUE(std::filesystem::is_symlink(Path()));
  EXPECT_EQ(ReadFile(folder_.File("real.ini")), "[TWPDF]\nFilePath=y\n");
}

TEST_F(SettingsStoreTest, WriteRefusesWhatOneLineCannotHold) {
  WriteFile(Path(), kInstalled);
  EXPECT_FALSE(store_.Write("TWPDF", "FilePath", "two\nlines"));
  EXPECT_FALSE(store_.Write("TWPDF", "Name=", "x"));
  EXPECT_FALSE(store_.Write("TW]PDF", "Name", "x"));
  EXPECT_EQ(ReadFile(Path()), kInstalled);
}

TEST_F(SettingsStoreTest, RemoveKeyRemovesItsSectionOnly) {
  WriteFile(Path(), kInstalled);
  ASSERT_TRUE(store_.RemoveKey("TWPDF"));
  EXPECT_EQ(ReadFile(Path()),
            "; written by the installation\n"
            "[Other]\n"
            "FilePath=elsewhere\n"
            "\n"
            "\n"
            "; the help viewer\n"
            "[Help]\n"
            "Viewer=xdg-open\n");
  EXPECT_EQ(store_.Read("TWPDF", "FilePath"), "");
}

TEST_F(SettingsStoreTest, RemovingWhatIsNotThereSucceedsAndChangesNothing) {
  EXPECT_TRUE(store_.RemoveKey("TWPDF"));
  EXPECT_FALSE(std::filesystem::exists(Path()));
  WriteFile(Path(), kInstalled);
  EXPECT_TRUE(store_.RemoveKey("Missing"));
  EXPECT_EQ(ReadFile(Path()), kInstalled);
}

class SettingsPathTest : public ::testing::Test {
 protected:
  test::TempFolder folder_;
  PosixEnvironment environment_;
  test::ScopedEnvironment registry_{"TARNWICK_REGISTRY", ""};
  test::ScopedEnvironment config_{"XDG_CONFIG_HOME", folder_.File("config")};
  test::ScopedEnvironment dirs_{"XDG_CONFIG_DIRS", ""};
  test::ScopedEnvironment state_{"XDG_STATE_HOME", ""};
  test::ScopedEnvironment home_{"HOME", folder_.File("home")};
};

TEST_F(SettingsPathTest, TheVariableNamesTheOneFileWhetherItExistsOrNot) {
  test::ScopedEnvironment registry("TARNWICK_REGISTRY", folder_.File("chosen.ini"));
  const SettingsFiles files = DefaultSettingsFiles(environment_);
  EXPECT_EQ(files.own, folder_.File("chosen.ini"));
  EXPECT_TRUE(files.shared.empty());
}

// The user's own file, then the installation's in each configuration folder of the system;
// relative folders are ignored, and $HOME stands in for unset or relative user folders.
TEST_F(SettingsPathTest, TheUsersFileThenTheInstallationsFiles) {
  struct Row {
    const char* configHome;
    const char* configDirs;
    const char* stateHome;
    std::string own;
    std::vector<std::string> shared;
    std::string state;
  };
  const std::string home = folder_.File("home");
  const Row rows[] = {
      {"/c", "", "/s", "/c/tarnwick/registry.ini", {"/etc/xdg/tarnwick/registry.ini"},
       "/s/tarnwick"},
      {"", "/a:relative:/b/", "", home + "/.config/tarnwick/registry.ini",
       {"/a/tarnwick/registry.ini", "/b/tarnwick/registry.ini"}, home + "/.local/state/tarnwick"},
      {"relative", "/a", "relative", home + "/.config/tarnwick/registry.ini",
       {"/a/tarnwick/registry.ini"}, home + "/.local/state/tarnwick"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.configDirs);
    test::ScopedEnvironment config("XDG_CONFIG_HOME", row.configHome);
    test::ScopedEnvironment dirs("XDG_CONFIG_DIRS", row.configDirs);
    test::ScopedEnvironment state("XDG_STATE_HOME", row.stateHome);
    const SettingsFiles files = DefaultSettingsFiles(environment_);
    EXPECT_EQ(files.own, row.own);
    EXPECT_EQ(files.shared, row.shared);
    EXPECT_EQ(UserStateFolder(environment_), row.state);
  }
}

// A value comes from the first file that has it, else from the defaults; writes go to the
// user's own file, which is made when missing, and never to the installation's.
TEST_F(SettingsPathTest, EachValueComesFromTheFirstFileThatHasIt) {
  const std::string own = folder_.File("config/tarnwick/registry.ini");
  const std::string system = folder_.File("xdg/tarnwick/registry.ini");
  std::filesystem::create_directories(folder_.File("xdg/tarnwick"));
  WriteFile(system, "[TWPDF]\nFilePath=/usr/lib/tarnwick\nLogPath=/var/log\n");
  PosixSettingsStore store({own, {folder_.File("missing.ini"), system}},
                           "[TWPDF]\nFilePath=/started/here\nHelp=beside\n");
  EXPECT_EQ(store.Read("TWPDF", "FilePath"), "/usr/lib/tarnwick");
  EXPECT_EQ(store.Read("TWPDF", "Help"), "beside");
  EXPECT_EQ(store.Read("TWPDF", "Other"), "");
  ASSERT_TRUE(store.Write("TWPDF", "LogPath", "/home/me/logs"));
  EXPECT_EQ(store.Read("TWPDF", "LogPath"), "/home/me/logs");
  EXPECT_EQ(store.Read("TWPDF", "FilePath"), "/usr/lib/tarnwick") << "the rest still shared";
  EXPECT_EQ(ReadFile(system), "[TWPDF]\nFilePath=/usr/lib/tarnwick\nLogPath=/var/log\n");
  ASSERT_TRUE(store.RemoveKey("TWPDF"));
  EXPECT_EQ(store.Read("TWPDF", "LogPath"), "/var/log");
}

}  // namespace
}  // namespace tarnwick
