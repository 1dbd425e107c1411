// What only the Windows file layer and desktop files do, on real files: share modes that other
// programs meet, read-only attributes, short names, and Unicode and long paths throughout. The
// contract that every system keeps is tested beside.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ostream>

#include "child_program.h"
#include "job_file_checks.h"
#include "temp_folder.h"
#include "win32_desktop_files.h"
#include "win32_file_layer.h"
#include "win32_handles.h"
#include "win32_text.h"

namespace tarnwick {
namespace {

using test::FileNames;
using test::IsPartName;
using test::ReadAll;
using test::ReadFile;
using test::Write;
using test::WriteFile;

// Runs a command of the system's command interpreter, as another program would: its exit code.
int Command(std::vector<std::string> words) {
  words.insert(words.begin(), "/c");
  return test::RunProgram("cmd.exe", words).status;
}

// Under Wine run by root, where Unix permissions do not refuse what read-only attributes would.
bool RunsAsWineSuperuser() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const bool wine = ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  wchar_t user[256] = {};
  DWORD size = 256;
  return wine && ::GetUserNameW(user, &size) && std::wstring(user) == L"root";
}

class Win32FilesTest : public ::testing::Test {
 protected:
  test::TempFolder folder_;
  Win32DesktopFiles files_;
};

// --- A job's source is held by the system -------------------------------------------------

// The hold is the system's: another program cannot delete or overwrite the file either.
TEST_F(Win32FilesTest, AnotherProgramCannotDeleteOrOverwriteAHeldSource) {
  const std::string name = folder_.File("source.pdf");
  WriteFile(name, "kept bytes");
  auto source = files_.OpenForReading(name);
  ASSERT_NE(source, nullptr) << files_.LastErrorText();
  Command({"del", "/f", "/q", name});
  Command({"echo", "overwritten>", name});
  EXPECT_TRUE(files_.Exists(name));
  EXPECT_EQ(ReadFile(name), "kept bytes");
  source.reset();
  EXPECT_EQ(Command({"del", "/f", "/q", name}), 0);
  EXPECT_FALSE(files_.Exists(name));
}

// A file that another program has open without sharing is refused as in use, not as a job's.
TEST_F(Win32FilesTest, AFileOpenElsewhereWithoutSharingIsRefusedAsInUse) {
  const std::string name = folder_.File("open elsewhere.pdf");
  WriteFile(name, "theirs");
  UniqueHandle other(::CreateFileW(LongPath(name).c_str(), GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(other.Valid());
  EXPECT_EQ(files_.OpenForWriting(name), nullptr);
  EXPECT_EQ(files_.LastErrorText(), "the file is in use");
  EXPECT_EQ(files_.OpenForReading(name), nullptr);
  EXPECT_EQ(files_.LastErrorText(), "the file is in use");
  EXPECT_FALSE(files_.Delete(name));
  EXPECT_EQ(files_.LastErrorText(), "the file is in use");
  other.Close();
  EXPECT_NE(files_.OpenForWriting(name), nullptr) << files_.LastErrorText();
}

// --- Copies take their names only when closed ----------------------------------------------

// The part file is shared with no one while it is written; once the copy has its name, a second
// Close finds it in place.
TEST_F(Win32FilesTest, APartFileIsNoOneElsesAndASecondCloseSucceeds) {
  auto copy = files_.OpenForWriting(folder_.File("repaired.pdf"));
  ASSERT_NE(copy, nullptr) << files_.LastErrorText();
  ASSERT_TRUE(Write(*copy, "%PDF-1.4 "));
  const std::vector<std::string> names = FileNames(folder_.Path());
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(IsPartName(names[0])) << names[0];
  EXPECT_EQ(Command({"del", "/f", "/q", folder_.File(names[0])}), 0);
  EXPECT_EQ(FileNames(folder_.Path()), names);
  EXPECT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_TRUE(copy->Close());
}

// The user agreed to overwrite: a read-only file is replaced as a rename replaces it on Linux.
TEST_F(Win32FilesTest, ACopyReplacesAReadOnlyFile) {
  const std::string name = folder_.File("read only.pdf");
  WriteFile(name, "older");
  ASSERT_TRUE(::SetFileAttributesW(LongPath(name).c_str(), FILE_ATTRIBUTE_READONLY));
  auto copy = files_.OpenForWriting(name);
  ASSERT_NE(copy, nullptr) << files_.LastErrorText();
  ASSERT_TRUE(Write(*copy, "new"));
  EXPECT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_EQ(ReadFile(name), "new");
  EXPECT_EQ(::GetFileAttributesW(LongPath(name).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(Win32FilesTest, FoldersAndDevicesAreNotRegularFiles) {
  const std::string sub = folder_.File("folder.pdf");
  ASSERT_TRUE(files_.CreateFolder(sub));
  EXPECT_EQ(files_.OpenForAppending(sub), nullptr);
  EXPECT_EQ(files_.LastErrorText(), "not a regular file");
  EXPECT_EQ(files_.OpenForWriting(folder_.Path() + "\\"), nullptr);
  EXPECT_EQ(files_.OpenForReading("NUL"), nullptr);
  EXPECT_EQ(files_.LastErrorText(), "not a regular file");
  EXPECT_EQ(FileNames(folder_.Path()), std::vector<std::string>{"folder.pdf"});
}

// --- Paths ------------------------------------------------------------------------------------

struct PathCase {
  const char* label;
  std::string folder;  // inside the test folder, made by the test
  std::string file;
  char separator;
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << c.label; }

std::string LongFolderName() {
  // Three folders of 90 characters, so that the file's path passes 300 characters.
  const std::string part(90, 'l');
  return part + "1\\" + part + "2\\" + part + "3";
}

class PathTest : public Win32FilesTest, public ::testing::WithParamInterface<PathCase> {
 protected:
  std::string Join(const std::string& a, const std::string& b) const {
    return a + GetParam().separator + b;
  }
  // The folders of the case, made one by one through the layer; the deepest one's path.
  std::string MakeFolders() {
    std::string path = folder_.Path();
    std::string rest = GetParam().folder;
    while (!rest.empty()) {
      const auto cut = rest.find('\\');
      path = Join(path, rest.substr(0, cut));
      EXPECT_TRUE(files_.CreateFolder(path)) << path << ": " << files_.LastErrorText();
      rest = cut == std::string::npos ? "" : rest.substr(cut + 1);
    }
    return path;
  }
};

TEST_P(PathTest, ReadWriteDeleteAndFoldersWork) {
  const PathCase& c = GetParam();
  const std::string folder = MakeFolders();
  const std::string file = Join(folder, c.file);
  EXPECT_FALSE(files_.CreateFolder(folder));  // it exists already
  EXPECT_FALSE(files_.Exists(file));

  auto copy = files_.OpenForWriting(file);
  ASSERT_NE(copy, nullptr) << file << ": " << files_.LastErrorText();
  ASSERT_TRUE(Write(*copy, "%PDF-1.7 Ünïcödé ✓"));
  ASSERT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_TRUE(files_.Exists(file));
  EXPECT_TRUE(files_.IsFile(file));
  EXPECT_FALSE(files_.IsFile(folder));
  EXPECT_EQ(ReadFile(file), "%PDF-1.7 Ünïcödé ✓");

  auto source = files_.OpenForReading(file);
  ASSERT_NE(source, nullptr) << files_.LastErrorText();
  EXPECT_EQ(ReadAll(*source), "%PDF-1.7 Ünïcödé ✓");
  EXPECT_FALSE(files_.Delete(file));
  EXPECT_EQ(files_.LastErrorText(), test::kHeldByJob);
  source.reset();

  // A second copy replaces the first.
  copy = files_.OpenForWriting(file);
  ASSERT_NE(copy, nullptr) << files_.LastErrorText();
  ASSERT_TRUE(Write(*copy, "second"));
  ASSERT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_EQ(ReadFile(file), "second");

  auto log = files_.OpenForAppending(Join(folder, "log ✓.txt"));
  ASSERT_NE(log, nullptr) << files_.LastErrorText();
  EXPECT_TRUE(log->Append("line\r\n"));
  log.reset();

  EXPECT_TRUE(files_.SameFile(file, file));
  const std::string shortPath = files_.ShortPath(file);
  EXPECT_TRUE(files_.SameFile(shortPath, file)) << shortPath;

  EXPECT_FALSE(files_.RemoveFolder(folder));  // not empty
  EXPECT_TRUE(files_.ResetAttributes(file)) << files_.LastErrorText();
  EXPECT_TRUE(files_.Delete(file)) << files_.LastErrorText();
  EXPECT_TRUE(files_.Delete(Join(folder, "log ✓.txt"))) << files_.LastErrorText();
  EXPECT_FALSE(files_.Exists(file));
  EXPECT_FALSE(files_.Delete(file));
  EXPECT_TRUE(files_.RemoveFolder(folder)) << files_.LastErrorText();
  EXPECT_FALSE(files_.Exists(folder));
}

INSTANTIATE_TEST_SUITE_P(
    Win32, PathTest,
    ::testing::Values(PathCase{"Plain", "work", "copy.pdf", '\\'},
                      PathCase{"ForwardSlashes", "work", "copy.pdf", '/'},
                      PathCase{"Unicode", "Földer ✓", "Ünïcödé ✓.pdf", '\\'},
                      PathCase{"Long", LongFolderName(), std::string(40, 'f') + ".pdf", '\\'},
                      PathCase{"LongUnicodeForwardSlashes", LongFolderName(),
                               "Ünïcödé ✓ " + std::string(40, 'u') + ".pdf", '/'}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(Win32FilesTest, LongPathsGetThePrefixAndShortOnesStayAsTheyAre) {
  EXPECT_EQ(LongPath("C:/short/path.pdf"), L"C:/short/path.pdf");
  const std::string name(300, 'n');
  EXPECT_EQ(LongPath("C:/folder/./x/../" + name), L"\\\\?\\C:\\folder\\" + Wide(name));
  EXPECT_EQ(LongPath("\\\\server\\share\\" + name), L"\\\\?\\UNC\\server\\share\\" + Wide(name));
  EXPECT_EQ(LongPath("\\\\?\\C:/" + name), L"\\\\?\\C:\\" + Wide(name));
  EXPECT_EQ(WithoutLongPrefix(L"\\\\?\\UNC\\server\\share\\a"), L"\\\\server\\share\\a");
  EXPECT_EQ(WithoutLongPrefix(L"\\\\?\\C:\\a"), L"C:\\a");
  EXPECT_EQ(Utf8(Wide("Ünïcödé ✓.pdf")), "Ünïcödé ✓.pdf");
  EXPECT_EQ(Wide("✓"), L"\u2713");
}

TEST_F(Win32FilesTest, ErrorTextsAreTheSystemsWithoutTheLineBreakAndPeriod) {
  EXPECT_FALSE(files_.Delete(folder_.File("missing.pdf")));
  const std::string text = files_.LastErrorText();
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), '.');
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND), text);
  EXPECT_EQ(files_.OpenForReading(folder_.File("missing.pdf")), nullptr);
  EXPECT_EQ(files_.LastErrorText(), text);
  EXPECT_FALSE(SystemErrorText(0xDEADu).empty());  // a code without a message has a text too
}

// --- Desktop files ----------------------------------------------------------------------------

TEST_F(Win32FilesTest, SameFileKnowsOneFileUnderEveryName) {
  const std::string name = folder_.File("one.pdf");
  const std::string other = folder_.File("two.pdf");
  WriteFile(name, "one");
  WriteFile(other, "two");
  ASSERT_TRUE(::CreateHardLinkW(LongPath(folder_.File("link.pdf")).c_str(),
                                LongPath(name).c_str(), nullptr));
  std::string slashed = name;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  EXPECT_TRUE(files_.SameFile(name, name));
  EXPECT_TRUE(files_.SameFile(name, slashed));
  EXPECT_TRUE(files_.SameFile(name, folder_.Path() + "\\.\\sub\\..\\one.pdf"));
  EXPECT_TRUE(files_.SameFile(name, folder_.File("link.pdf")));
  EXPECT_FALSE(files_.SameFile(name, other));
  EXPECT_FALSE(files_.SameFile(name, folder_.File("missing.pdf")));
  EXPECT_FALSE(files_.SameFile(folder_.File("missing.pdf"), folder_.File("missing.pdf")));
  // A held file is still recognised.
  auto source = files_.OpenForReading(name);
  EXPECT_TRUE(files_.SameFile(name, folder_.File("link.pdf")));
}

TEST_F(Win32FilesTest, AnotherProgramCannotAppendToAHeldAppendFile) {
  const std::string log = folder_.File("activity log.txt");
  auto first = files_.OpenForAppending(log);
  ASSERT_NE(first, nullptr);
  Command({"echo", "other>>", log});
  ASSERT_TRUE(first->Append("mine\n"));
  first.reset();
  EXPECT_EQ(ReadFile(log), "mine\n");
}

TEST_F(Win32FilesTest, ReadOnlyIsTheCallersToReset) {
  const std::string log = folder_.File("activity log.txt");
  WriteFile(log, "");
  ASSERT_TRUE(::SetFileAttributesW(LongPath(log).c_str(), FILE_ATTRIBUTE_READONLY));
  // Windows refuses to append to a read-only file; Wine keeps the attribute as the Unix mode,
  // which the superuser may write all the same. Opening leaves the attribute alone either way.
  if (!RunsAsWineSuperuser()) {
    EXPECT_EQ(files_.OpenForAppending(log), nullptr);
  }
  files_.OpenForAppending(log);
  EXPECT_NE(::GetFileAttributesW(LongPath(log).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_FALSE(files_.Delete(log));
  EXPECT_TRUE(files_.ResetAttributes(log)) << files_.LastErrorText();
  EXPECT_EQ(::GetFileAttributesW(LongPath(log).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_NE(files_.OpenForAppending(log), nullptr);
  EXPECT_TRUE(files_.Delete(log)) << files_.LastErrorText();
}

TEST_F(Win32FilesTest, ShortPathNamesTheSameFileOrIsThePathItself) {
  const std::string name = folder_.File("a rather long file name.pdf");
  WriteFile(name, "x");
  const std::string shortPath = files_.ShortPath(name);
  EXPECT_FALSE(shortPath.empty());
  EXPECT_EQ(shortPath.find('/'), std::string::npos) << shortPath;
  EXPECT_TRUE(files_.SameFile(shortPath, name)) << shortPath;
  EXPECT_EQ(ReadFile(shortPath), "x");
  const std::string missing = folder_.File("missing file name.pdf");
  EXPECT_EQ(files_.ShortPath(missing), missing);
}

TEST_F(Win32FilesTest, TheTemporaryFolderIsAFolderEndingWithASeparator) {
  const std::optional<std::string> temporary = files_.TemporaryFolder();
  ASSERT_TRUE(temporary) << files_.LastErrorText();
  ASSERT_FALSE(temporary->empty());
  EXPECT_EQ(temporary->back(), '/');
  EXPECT_NE(temporary->find("tarnwick"), std::string::npos);
  const DWORD attributes = ::GetFileAttributesW(LongPath(*temporary).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(files_.TemporaryFolder(), temporary);
  // A work folder and copy inside it, named as the engine names them.
  const std::string work = *temporary + "12-00-00 08-12-2026 test " +
                           std::to_string(::GetCurrentProcessId());
  ASSERT_TRUE(files_.CreateFolder(work)) << files_.LastErrorText();
  auto copy = files_.OpenForWriting(work + "/copy.pdf");
  ASSERT_NE(copy, nullptr) << files_.LastErrorText();
  ASSERT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_TRUE(files_.Delete(work + "/copy.pdf"));
  EXPECT_TRUE(files_.RemoveFolder(work));
}

}  // namespace
}  // namespace tarnwick
