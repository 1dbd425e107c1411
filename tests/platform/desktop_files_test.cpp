// The desktop program's file system on real files: the append file's exclusivity, what the
// windows add to the job's file layer, and that the job's protections still hold through it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "child_process.h"
#include "posix_desktop_files.h"
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

TEST_F(DesktopFilesTest, AppendingAddsToTheEndOfANewOrExistingFile) {
  auto log = files_.OpenForAppending(Log());
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->Size(), 0u);
  ASSERT_TRUE(log->Append("first line\r\n"));
  EXPECT_EQ(log->Size(), 12u);
  log.reset();

  log = files_.OpenForAppending(Log());
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->Size(), 12u);
  const std::string big(1 << 20, 'b');
  ASSERT_TRUE(log->Append(big));
  EXPECT_EQ(log->Size(), 12u + big.size());
  log.reset();
  EXPECT_EQ(ReadFile(Log()), "first line\r\n" + big);
}

TEST_F(DesktopFilesTest, AnAppendFileIsHeldExclusivelyWhileItLives) {
  auto first = files_.OpenForAppending(Log());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(files_.OpenForAppending(Log()), nullptr);
  EXPECT_FALSE(files_.LastErrorText().empty());
  EXPECT_EQ(test::RunInChild([&] {
              PosixDesktopFiles other;
              return other.OpenForAppending(Log()) == nullptr ? 0 : 1;
            }),
            0);
  first.reset();
  EXPECT_NE(files_.OpenForAppending(Log()), nullptr);
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

TEST_F(DesktopFilesTest, AFileHeldByARepairJobIsRefusedUnderAnyName) {
  WriteFile(Log(), "source");
  std::filesystem::create_hard_link(Log(), folder_.File("other name"));
  auto source = files_.OpenForReading(Log());
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(files_.OpenForAppending(folder_.File("other name")), nullptr);
  // The job layer's protections hold through the desktop files too.
  EXPECT_FALSE(files_.Delete(Log()));
  EXPECT_FALSE(files_.LastErrorText().empty());
  EXPECT_EQ(files_.OpenForWriting(Log()), nullptr);
  source.reset();
  EXPECT_NE(files_.OpenForAppending(folder_.File("other name")), nullptr);
}

// A job's copy takes its name only when it is closed, and never over a file that a job holds
// by then (the name is judged again at the rename, not only when the copy began).
TEST_F(DesktopFilesTest, ACopyReplacesItsNameOnlyWhenClosedAndNeverAHeldFile) {
  const std::string name = folder_.File("copy.pdf");
  WriteFile(name, "older");
  auto copy = files_.OpenForWriting(name);
  ASSERT_NE(copy, nullptr) << files_.LastErrorText();
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  ASSERT_TRUE(copy->Append(bytes, sizeof bytes));
  EXPECT_EQ(ReadFile(name), "older");
  auto source = files_.OpenForReading(name);
  EXPECT_FALSE(copy->Close());
  EXPECT_EQ(copy->ErrorText(), "the file is held by a running repair job");
  copy.reset();
  source.reset();
  EXPECT_EQ(ReadFile(name), "older");
  EXPECT_EQ(test::FileNames(folder_.Path()), std::vector<std::string>{"copy.pdf"});

  copy = files_.OpenForWriting(name);
  ASSERT_TRUE(copy->Append(bytes, sizeof bytes));
  EXPECT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_EQ(ReadFile(name), "new");
  EXPECT_EQ(test::FileNames(folder_.Path()), std::vector<std::string>{"copy.pdf"});
}

// A program about to end removes the part files of the copies still being written; the files
// they were to replace keep their bytes, and the copies can no longer take their names.
TEST_F(DesktopFilesTest, UnfinishedCopiesLeaveNothingWhenRemoved) {
  const std::string name = folder_.File("copy.pdf");
  WriteFile(name, "older");
  auto copy = files_.OpenForWriting(name);
  auto fresh = files_.OpenForWriting(folder_.File("fresh.pdf"));
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(fresh, nullptr);
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  ASSERT_TRUE(copy->Append(bytes, sizeof bytes));
  files_.RemoveUnfinishedCopies();
  EXPECT_EQ(test::FileNames(folder_.Path()), std::vector<std::string>{"copy.pdf"});
  EXPECT_FALSE(copy->Close());
  EXPECT_FALSE(fresh->Close());
  EXPECT_EQ(ReadFile(name), "older");
  EXPECT_EQ(test::FileNames(folder_.Path()), std::vector<std::string>{"copy.pdf"});
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

// The last error is set by a job's worker while the window thread may read its own: neither
// may see a text torn by the other.
TEST_F(DesktopFilesTest, TheLastErrorCanBeReadWhileAWorkerSetsIt) {
  WriteFile(Log(), "source");
  auto held = files_.OpenForReading(Log());
  std::atomic<bool> done{false};
  // Texts of different lengths, so that each change reallocates what the reader may be copying.
  std::thread worker([&] {
    for (int i = 0; i < 20000; ++i) files_.Delete(i % 2 ? Log() : folder_.File("missing"));
    done = true;
  });
  std::size_t seen = 0;
  while (!done) {
    const std::string text = files_.LastErrorText();
    EXPECT_TRUE(text.empty() || text == "No such file or directory" ||
                text == "the file is held by a running repair job")
        << text;
    seen += text.size();
  }
  worker.join();
  EXPECT_GT(seen, 0u);
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

TEST_F(DesktopFilesTest, OnlyARegularFileCanBeAppendedTo) {
  EXPECT_EQ(files_.OpenForAppending(folder_.Path()), nullptr);
  ASSERT_EQ(::mkfifo(folder_.File("pipe").c_str(), 0600), 0);
  EXPECT_EQ(files_.OpenForAppending(folder_.File("pipe")), nullptr);
  EXPECT_EQ(files_.LastErrorText(), "not a regular file");
  EXPECT_EQ(files_.OpenForAppending(folder_.File("missing/log.txt")), nullptr);
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

TEST_F(DesktopFilesTest, RemoveFolderRemovesOnlyAnEmptyFolder) {
  const std::string work = folder_.File("work");
  ASSERT_TRUE(files_.CreateFolder(work));
  WriteFile(work + "/copy.pdf", "x");
  EXPECT_FALSE(files_.RemoveFolder(work));
  EXPECT_FALSE(files_.LastErrorText().empty());
  EXPECT_TRUE(std::filesystem::exists(work + "/copy.pdf"));
  ASSERT_TRUE(files_.Delete(work + "/copy.pdf"));
  EXPECT_TRUE(files_.RemoveFolder(work));
  EXPECT_FALSE(std::filesystem::exists(work));
  EXPECT_FALSE(files_.RemoveFolder(work));
}

}  // namespace
}  // namespace tarnwick
