// What only the POSIX desktop files do, on real files: locks that other processes see, symbolic
// links, file modes and named pipes. The contract that every system keeps is tested beside.
#include "posix_desktop_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "child_process.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

using test::ReadFile;
using test::WriteFile;

class DesktopFilesTest : public ::testing::Test {
 protected:
  std::string Log() const { return folder_.File("activity log.txt"); }

  test::TempFolder folder_;
  PosixDesktopFiles files_;
};

TEST_F(DesktopFilesTest, AnotherProcessCannotAppendToAHeldAppendFile) {
  auto first = files_.OpenForAppending(Log());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(test::RunInChild([&] {
              PosixDesktopFiles other;
              return other.OpenForAppending(Log()) == nullptr ? 0 : 1;
            }),
            0);
}

TEST_F(DesktopFilesTest, AFileLockedByAnotherProgramIsRefusedAndLeftAsItWas) {
  WriteFile(Log(), "kept");
  const int other = ::open(Log().c_str(), O_RDONLY);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  EXPECT_EQ(files_.OpenForAppending(Log()), nullptr);
  ::close(other);
  auto log = files_.OpenForAppending(Log());
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->Size(), 4u);
}

// Here the part files of unfinished copies go at once, not only when their handles close.
TEST_F(DesktopFilesTest, UnfinishedCopiesGoAtOnce) {
  auto copy = files_.OpenForWriting(folder_.File("copy.pdf"));
  ASSERT_NE(copy, nullptr);
  files_.RemoveUnfinishedCopies();
  EXPECT_EQ(test::FileNames(folder_.Path()), std::vector<std::string>{});
}

// A symbolic link of the copy's name is replaced; the file it pointed at keeps its bytes. The
// copy gets the mode of a new file.
TEST_F(DesktopFilesTest, ACopyReplacesASymbolicLinkNotItsTarget) {
  const std::string target = folder_.File("target.pdf");
  const std::string name = folder_.File("copy.pdf");
  WriteFile(target, "target");
  std::filesystem::create_symlink(target, name);
  const mode_t mask = ::umask(022);
  auto copy = files_.OpenForWriting(name);
  ::umask(mask);
  ASSERT_NE(copy, nullptr) << files_.LastErrorText();
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  ASSERT_TRUE(copy->Append(bytes, sizeof bytes));
  ASSERT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_FALSE(std::filesystem::is_symlink(name));
  EXPECT_EQ(ReadFile(name), "new");
  EXPECT_EQ(ReadFile(target), "target");
  struct stat info {};
  ASSERT_EQ(::stat(name.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(DesktopFilesTest, ReadOnlyIsTheCallersToReset) {
  WriteFile(Log(), "");
  ::chmod(Log().c_str(), 0444);
  auto log = files_.OpenForAppending(Log());
  // Opening leaves the attribute alone (only a user without the superuser's rights is refused).
  struct stat info {};
  ASSERT_EQ(::stat(Log().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0444u);
  if (::geteuid() != 0) {
    EXPECT_EQ(log, nullptr);
  }
  log.reset();
  ASSERT_TRUE(files_.ResetAttributes(Log()));
  EXPECT_NE(files_.OpenForAppending(Log()), nullptr);
}

TEST_F(DesktopFilesTest, ANamedPipeIsNotAppendedTo) {
  ASSERT_EQ(::mkfifo(folder_.File("pipe").c_str(), 0600), 0);
  EXPECT_EQ(files_.OpenForAppending(folder_.File("pipe")), nullptr);
  EXPECT_EQ(files_.LastErrorText(), "not a regular file");
}

TEST_F(DesktopFilesTest, IsFileMeansARegularFileAlsoThroughALink) {
  WriteFile(Log(), "");
  std::filesystem::create_symlink(Log(), folder_.File("link"));
  std::filesystem::create_symlink(folder_.File("missing"), folder_.File("dangling"));
  EXPECT_TRUE(files_.IsFile(Log()));
  EXPECT_TRUE(files_.IsFile(folder_.File("link")));
  EXPECT_FALSE(files_.IsFile(folder_.File("dangling")));
  EXPECT_FALSE(files_.IsFile(folder_.File("missing")));
  EXPECT_FALSE(files_.IsFile(folder_.Path()));
}

}  // namespace
}  // namespace tarnwick
