// The shell's open verb on missing files and on a real program that records its arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "probe.h"
#include "utf16_text.h"
#include "win32_shell.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

constexpr int kLastFailure = 32;

std::string Utf8Path(const fs::path& path) { return ToUtf8(path.wstring()); }

// The file's content once it appears; nothing after ten seconds, far more than a start takes.
std::optional<std::string> ContentWhenItAppears(const fs::path& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fs::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::ifstream file(path, std::ios::binary);
  return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class ShellMissingFileTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  test::ScratchFolder folder_;
};

TEST_P(ShellMissingFileTest, OpeningItFails) {
  Win32Shell shell;
  EXPECT_LE(shell.Open(Utf8Path(folder_.Path() / GetParam()), {"an argument"}), kLastFailure);
}

INSTANTIATE_TEST_SUITE_P(Names, ShellMissingFileTest,
                         ::testing::Values(L"Tarnwick for Adobe PDF.chm", L"fileDelete.exe",
                                           L"missing folder\\program.exe"));

TEST(ShellTest, AProgramGetsEachArgumentWhole) {
  test::ScratchFolder folder;
  // The program's own path has a space too, as a program folder under Program Files would.
  const fs::path program = folder.Path() / L"program folder" / L"probe copy.exe";
  fs::create_directories(program.parent_path());
  fs::copy_file(test::ProbePath(), program);
  const fs::path record = folder.Path() / L"arguments.txt";
  const std::vector<std::string> arguments{"C:\\My Files\\a file.pdf",
                                           "",
                                           "say \"hi\"",
                                           "C:\\with space\\",
                                           "two  spaces ",
                                           "T\xC3\xA4rnwick \xE2\x82\xAC"};
  std::vector<std::string> all{"record-arguments", Utf8Path(record)};
  all.insert(all.end(), arguments.begin(), arguments.end());

  Win32Shell shell;
  EXPECT_GT(shell.Open(Utf8Path(program), all), kLastFailure);
  std::string expected;
  for (const std::string& argument : arguments) expected += argument + '\n';
  EXPECT_EQ(ContentWhenItAppears(record), expected);
}

}  // namespace
}  // namespace tarnwick
