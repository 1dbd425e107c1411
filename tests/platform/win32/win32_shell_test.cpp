// The shell's open verb on missing files and on a real program that records its arguments, and
// the search path that the programs it starts for a document of the program's own get.
#include "win32_shell.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "probe.h"
#include "temp_folder.h"
#include "win32_process_services.h"
#include "win32_text.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

constexpr int kLastFailure = 32;

std::string Utf8Path(const fs::path& path) { return Utf8(path.wstring()); }

// The file's content once it appears; nothing after ten seconds, far more than a start takes.
std::optional<std::string> ContentWhenItAppears(const fs::path& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fs::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return test::ReadFile(path);
}

// Puts PATH back as it was when the test began.
class SavedSearchPath {
 public:
  SavedSearchPath() : path_(environment_.Get("PATH")) {}
  ~SavedSearchPath() { SetEnvironmentVariableW(L"PATH", path_ ? Wide(*path_).c_str() : nullptr); }
  SavedSearchPath(const SavedSearchPath&) = delete;
  SavedSearchPath& operator=(const SavedSearchPath&) = delete;

 private:
  Win32Environment environment_;
  std::optional<std::string> path_;
};

class ShellMissingFileTest : public ::testing::TestWithParam<const char*> {
 protected:
  test::TempFolder folder_;
  Win32Environment environment_;
};

TEST_P(ShellMissingFileTest, OpeningItFails) {
  Win32Shell shell(environment_);
  EXPECT_LE(shell.Open(folder_.File(GetParam()), {"an argument"}), kLastFailure);
}

INSTANTIATE_TEST_SUITE_P(Names, ShellMissingFileTest,
                         ::testing::Values("Tarnwick for Adobe PDF.chm", "fileDelete.exe",
                                           "missing folder\\program.exe"));

TEST(ShellTest, AProgramGetsEachArgumentWhole) {
  test::TempFolder folder;
  // The program's own path has a space too, as a program folder under Program Files would.
  const fs::path program = folder / "program folder\\probe copy.exe";
  fs::create_directories(program.parent_path());
  fs::copy_file(test::ProbePath(), program);
  const fs::path record = folder / "arguments.txt";
  const std::vector<std::string> arguments{
      "C:\\My Files\\a file.pdf",    "", "say \"hi\"", "C:\\with space\\", "two  spaces ",
      "T\xC3\xA4rnwick \xE2\x82\xAC"};
  std::vector<std::string> all{"record-arguments", Utf8Path(record)};
  all.insert(all.end(), arguments.begin(), arguments.end());

  Win32Environment environment;
  Win32Shell shell(environment);
  EXPECT_GT(shell.Open(Utf8Path(program), all), kLastFailure);
  std::string expected;
  for (const std::string& argument : arguments) expected += argument + '\n';
  EXPECT_EQ(ContentWhenItAppears(record), expected);
}

// Windows parts the search path's entries with semicolons: the program folder joins its end as
// one entry of its own, and none is empty.
TEST(ShowDocumentTest, AddsOnlyAProgramFolderToTheSearchPath) {
  struct Row {
    std::string path;
    std::string programFolder;
    std::string expected;
  };
  SavedSearchPath saved;
  test::TempFolder folder;
  for (const Row& row :
       {Row{"C:\\windows\\system32;C:\\windows", "C:\\Program Files\\Tarnwick",
            "C:\\windows\\system32;C:\\windows;C:\\Program Files\\Tarnwick"},
        Row{"C:\\windows\\system32;C:\\windows", "", "C:\\windows\\system32;C:\\windows"},
        Row{"", "C:\\Program Files\\Tarnwick", "C:\\Program Files\\Tarnwick"}}) {
    SCOPED_TRACE(row.path + " with program folder " + row.programFolder);
    Win32Environment environment;
    environment.Set("PATH", row.path);
    Win32Shell shell(environment);
    EXPECT_FALSE(shell.ShowDocument(folder.File("missing.html"), row.programFolder))
        << "no viewer of the system's own takes a document the open verb cannot show";
    EXPECT_EQ(environment.Get("PATH"), row.expected);
  }
}

// What the shown document starts runs with the program folder at the end of its search path.
TEST(ShowDocumentTest, TheStartedProgramFindsTheProgramFolderLastOnItsSearchPath) {
  SavedSearchPath saved;
  test::TempFolder folder;
  const fs::path programFolder = folder / "Program Files\\T\xC3\xA4rnwick";
  const fs::path program = programFolder / L"probe copy.exe";
  fs::create_directories(programFolder);
  fs::copy_file(test::ProbePath(), program);
  Win32Environment environment;
  const std::string systemFolders = "C:\\windows\\system32;C:\\windows";
  environment.Set("PATH", systemFolders);

  Win32Shell shell(environment);
  EXPECT_TRUE(shell.ShowDocument(Utf8Path(program), Utf8Path(programFolder)));
  EXPECT_EQ(ContentWhenItAppears(program.wstring() + L".path"),
            systemFolders + ";" + Utf8Path(programFolder) + "\n");
}

}  // namespace
}  // namespace tarnwick
