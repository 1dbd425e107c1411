// What the desktop files promise on every system, on real files: the holds that a job's files
// get, copies that take their names only when closed, appending, folders and the last error.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "job_file_checks.h"
#include "native_platform.h"
#include "part_file_name.h"
#include "system_environment.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

using test::FileNames;
using test::IsPartName;
using test::ReadAll;
using test::ReadFile;
using test::Write;
using test::WriteFile;

template <class Files>
class DesktopFilesContract : public ::testing::Test {
 protected:
  test::TempFolder folder_;
  Files files_;
};

using Systems = ::testing::Types<NativeDesktopFiles>;
TYPED_TEST_SUITE(DesktopFilesContract, Systems);

// --- A job's source is held ------------------------------------------------------------------

TYPED_TEST(DesktopFilesContract, AHeldSourceCanBeReadButNotDeletedChangedOrWrittenUnderAnyName) {
  auto& files = this->files_;
  const std::string name = this->folder_.File("source.pdf");
  const std::string link = this->folder_.File("other name.pdf");
  WriteFile(name, "%PDF-1.4 source");
  std::filesystem::create_hard_link(this->folder_ / "source.pdf", this->folder_ / "other name.pdf");
  auto source = files.OpenForReading(name);
  ASSERT_NE(source, nullptr) << files.LastErrorText();
  EXPECT_EQ(source->Length(), 15u);
  EXPECT_EQ(ReadAll(*source), "%PDF-1.4 source");

  EXPECT_FALSE(files.Delete(name));
  EXPECT_EQ(files.LastErrorText(), test::kHeldByJob);
  EXPECT_EQ(files.OpenForWriting(name), nullptr);
  EXPECT_EQ(files.LastErrorText(), test::kHeldByJob);
  EXPECT_FALSE(files.ResetAttributes(name));
  EXPECT_EQ(files.LastErrorText(), test::kHeldByJob);
  EXPECT_EQ(files.OpenForAppending(name), nullptr);
  EXPECT_EQ(files.LastErrorText(), test::kHeldByJob);
  EXPECT_EQ(files.OpenForAppending(link), nullptr);
  // Another reader is welcome, as another job on the same file would be.
  auto second = files.OpenForReading(name);
  ASSERT_NE(second, nullptr) << files.LastErrorText();
  EXPECT_EQ(ReadAll(*second), "%PDF-1.4 source");
  second.reset();
  EXPECT_EQ(ReadFile(name), "%PDF-1.4 source");

  source.reset();
  EXPECT_NE(files.OpenForAppending(link), nullptr) << files.LastErrorText();
  EXPECT_TRUE(files.ResetAttributes(name)) << files.LastErrorText();
  EXPECT_TRUE(files.Delete(name)) << files.LastErrorText();
  EXPECT_FALSE(files.Exists(name));
}

TYPED_TEST(DesktopFilesContract, ReadsArePositionalAndShortAtTheEnd) {
  const std::string name = this->folder_.File("source.pdf");
  WriteFile(name, "0123456789");
  auto source = this->files_.OpenForReading(name);
  ASSERT_NE(source, nullptr);
  std::uint8_t buffer[8] = {};
  std::size_t got = 0;
  ASSERT_TRUE(source->ReadAt(6, 8, buffer, got));
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), got), "6789");
  ASSERT_TRUE(source->ReadAt(2, 3, buffer, got));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), got), "234");
  ASSERT_TRUE(source->ReadAt(10, 8, buffer, got));
  EXPECT_EQ(got, 0u);
  ASSERT_TRUE(source->ReadAt(1000, 8, buffer, got));
  EXPECT_EQ(got, 0u);
}

// --- Copies take their names only when closed ------------------------------------------------

TYPED_TEST(DesktopFilesContract, ACopyTakesItsFinalNameOnlyAtClose) {
  auto& files = this->files_;
  const std::string name = this->folder_.File("repaired.pdf");
  auto copy = files.OpenForWriting(name);
  ASSERT_NE(copy, nullptr) << files.LastErrorText();
  const std::string body(3 << 20, 'x');
  ASSERT_TRUE(Write(*copy, "%PDF-1.4 "));
  ASSERT_TRUE(Write(*copy, body));
  EXPECT_FALSE(files.Exists(name));
  const std::vector<std::string> names = FileNames(this->folder_.Path());
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(IsPartName(names[0])) << names[0];

  EXPECT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_EQ(FileNames(this->folder_.Path()), std::vector<std::string>{"repaired.pdf"});
  EXPECT_EQ(ReadFile(name), "%PDF-1.4 " + body);
}

// The name is judged again when the copy is closed, not only when it began.
TYPED_TEST(DesktopFilesContract, ACopyNeverReplacesAFileHeldByTheTimeItCloses) {
  auto& files = this->files_;
  const std::string name = this->folder_.File("copy.pdf");
  WriteFile(name, "older");
  auto copy = files.OpenForWriting(name);
  ASSERT_NE(copy, nullptr) << files.LastErrorText();
  ASSERT_TRUE(Write(*copy, "new"));
  EXPECT_EQ(ReadFile(name), "older");
  auto source = files.OpenForReading(name);
  ASSERT_NE(source, nullptr) << files.LastErrorText();
  EXPECT_FALSE(copy->Close());
  EXPECT_EQ(copy->ErrorText(), test::kHeldByJob);
  copy.reset();
  source.reset();
  EXPECT_EQ(ReadFile(name), "older");
  EXPECT_EQ(FileNames(this->folder_.Path()), std::vector<std::string>{"copy.pdf"});

  copy = files.OpenForWriting(name);
  ASSERT_NE(copy, nullptr) << files.LastErrorText();
  ASSERT_TRUE(Write(*copy, "new"));
  EXPECT_TRUE(copy->Close()) << copy->ErrorText();
  EXPECT_EQ(ReadFile(name), "new");
  EXPECT_EQ(FileNames(this->folder_.Path()), std::vector<std::string>{"copy.pdf"});
}

TYPED_TEST(DesktopFilesContract, AnAbandonedCopyLeavesNoPartFileAndTheOldBytes) {
  const std::string name = this->folder_.File("copy.pdf");
  for (const bool replaces : {false, true}) {
    for (const bool appended : {false, true}) {
      SCOPED_TRACE(std::string(replaces ? "replacing" : "new") + (appended ? ", written" : ""));
      if (replaces) WriteFile(name, "older");
      auto copy = this->files_.OpenForWriting(name);
      ASSERT_NE(copy, nullptr) << this->files_.LastErrorText();
      if (appended) {
        ASSERT_TRUE(Write(*copy, "never finished"));
      }
      copy.reset();
      if (replaces) {
        EXPECT_EQ(FileNames(this->folder_.Path()), std::vector<std::string>{"copy.pdf"});
        EXPECT_EQ(ReadFile(name), "older");
        ASSERT_TRUE(this->files_.Delete(name));
      } else {
        EXPECT_EQ(FileNames(this->folder_.Path()), std::vector<std::string>{});
      }
    }
  }
}

// A program about to end removes the part files of the copies still being written; the files
// they were to replace keep their bytes, and the copies can no longer take their names.
TYPED_TEST(DesktopFilesContract, UnfinishedCopiesLeaveNothingWhenRemoved) {
  auto& files = this->files_;
  const std::string name = this->folder_.File("copy.pdf");
  WriteFile(name, "older");
  auto copy = files.OpenForWriting(name);
  auto fresh = files.OpenForWriting(this->folder_.File("fresh.pdf"));
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(fresh, nullptr);
  ASSERT_TRUE(Write(*copy, "new"));
  files.RemoveUnfinishedCopies();
  // Where the part files only go when their handles close, they still never take a name.
  ASSERT_TRUE(Write(*copy, " and more"));
  EXPECT_FALSE(copy->Close());
  EXPECT_FALSE(fresh->Close());
  EXPECT_EQ(ReadFile(name), "older");
  EXPECT_EQ(FileNames(this->folder_.Path()), std::vector<std::string>{"copy.pdf"});
  copy.reset();
  fresh.reset();
  EXPECT_EQ(FileNames(this->folder_.Path()), std::vector<std::string>{"copy.pdf"});
}

TYPED_TEST(DesktopFilesContract, AFolderIsNeitherReadNorReplacedNorAppendedTo) {
  auto& files = this->files_;
  const std::string sub = this->folder_.File("folder.pdf");
  ASSERT_TRUE(files.CreateFolder(sub));
  EXPECT_EQ(files.OpenForReading(sub), nullptr);
  EXPECT_EQ(files.LastErrorText(), "not a regular file");
  EXPECT_EQ(files.OpenForWriting(sub), nullptr);
  EXPECT_EQ(files.LastErrorText(), "not a regular file");
  EXPECT_EQ(files.OpenForAppending(sub), nullptr);
  EXPECT_FALSE(files.IsFile(sub));
  EXPECT_EQ(files.OpenForAppending(this->folder_.File("missing/log.txt")), nullptr);
  EXPECT_EQ(FileNames(this->folder_.Path()), std::vector<std::string>{"folder.pdf"});
}

// --- Appending --------------------------------------------------------------------------------

TYPED_TEST(DesktopFilesContract, AppendingAddsToTheEndOfANewOrExistingFile) {
  const std::string log = this->folder_.File("activity log.txt");
  auto file = this->files_.OpenForAppending(log);
  ASSERT_NE(file, nullptr) << this->files_.LastErrorText();
  EXPECT_EQ(file->Size(), 0u);
  EXPECT_TRUE(file->EndsLine());
  ASSERT_TRUE(file->Append("first line\r\n"));
  EXPECT_EQ(file->Size(), 12u);
  EXPECT_TRUE(file->EndsLine());
  ASSERT_TRUE(file->Append("no end"));
  EXPECT_FALSE(file->EndsLine());
  ASSERT_TRUE(file->Append("\n"));
  file.reset();

  file = this->files_.OpenForAppending(log);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), 19u);
  EXPECT_TRUE(file->EndsLine());
  const std::string big(1 << 20, 'b');
  ASSERT_TRUE(file->Append(big));
  EXPECT_EQ(file->Size(), 19u + big.size());
  file.reset();
  EXPECT_EQ(ReadFile(log), "first line\r\nno end\n" + big);
}

TYPED_TEST(DesktopFilesContract, AnAppendFileIsHeldExclusivelyWhileItLives) {
  auto& files = this->files_;
  const std::string log = this->folder_.File("activity log.txt");
  auto first = files.OpenForAppending(log);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(files.OpenForAppending(log), nullptr);
  EXPECT_EQ(files.LastErrorText(), "the file is in use");
  ASSERT_TRUE(first->Append("mine\n"));
  first.reset();
  EXPECT_EQ(ReadFile(log), "mine\n");
  EXPECT_NE(files.OpenForAppending(log), nullptr);
}

// --- Folders ----------------------------------------------------------------------------------

TYPED_TEST(DesktopFilesContract, RemoveFolderRemovesOnlyAnEmptyFolder) {
  auto& files = this->files_;
  const std::string work = this->folder_.File("work");
  const std::string copy = work + "/copy.pdf";
  ASSERT_TRUE(files.CreateFolder(work));
  EXPECT_FALSE(files.CreateFolder(work));
  WriteFile(copy, "x");
  EXPECT_FALSE(files.RemoveFolder(work));
  EXPECT_FALSE(files.LastErrorText().empty());
  EXPECT_TRUE(files.Exists(copy));
  ASSERT_TRUE(files.Delete(copy));
  EXPECT_TRUE(files.RemoveFolder(work));
  EXPECT_FALSE(files.Exists(work));
  EXPECT_FALSE(files.RemoveFolder(work));
}

// What a killed run left: a folder's entries are listed, and of them only a part file whose
// writer has ended is removed; this process's part files and every other file stay.
TYPED_TEST(DesktopFilesContract, OnlyAbandonedPartFilesAreRemoved) {
  auto& files = this->files_;
  const std::string work = this->folder_.File("work");
  ASSERT_TRUE(files.CreateFolder(work));
  const std::string abandoned = PartFileName(0x7FFFFFF1, 0, 0);
  const std::string own = PartFileName(test::CurrentProcessId(), 1, 0);
  const std::vector<std::string> kept = {own, ".tarnwick-x.part", "copy.pdf"};  // sorted
  for (const std::string& name : kept) WriteFile(work + "/" + name, "x");
  WriteFile(work + "/" + abandoned, "x");
  std::vector<std::string> listed = files.FolderEntries(work);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, FileNames(work));
  for (const std::string& name : kept) {
    EXPECT_FALSE(files.RemoveAbandonedPartFile(work + "/" + name)) << name;
  }
  EXPECT_TRUE(files.RemoveAbandonedPartFile(work + "/" + abandoned));
  EXPECT_EQ(FileNames(work), kept);
  EXPECT_TRUE(files.FolderEntries(this->folder_.File("missing")).empty());
  EXPECT_FALSE(files.LastErrorText().empty());
}

// --- The last error ---------------------------------------------------------------------------

// The last error is set by a job's worker while the window thread may read its own: neither
// may see a text torn by the other.
TYPED_TEST(DesktopFilesContract, TheLastErrorCanBeReadWhileAWorkerSetsIt) {
  auto& files = this->files_;
  const std::string name = this->folder_.File("source.pdf");
  const std::string missing = this->folder_.File("missing");
  WriteFile(name, "source");
  auto held = files.OpenForReading(name);
  std::atomic<bool> done{false};
  // Texts of different lengths, so that each change reallocates what the reader may be copying.
  std::thread worker([&] {
    for (int i = 0; i < 20000; ++i) files.Delete(i % 2 ? name : missing);
    done = true;
  });
  const std::string missingText = test::MissingFileText();
  std::size_t seen = 0;
  while (!done) {
    const std::string text = files.LastErrorText();
    EXPECT_TRUE(text.empty() || text == missingText || text == test::kHeldByJob) << text;
    seen += text.size();
  }
  worker.join();
  EXPECT_GT(seen, 0u);
  EXPECT_EQ(files.LastErrorText(), test::kHeldByJob);
}

}  // namespace
}  // namespace tarnwick
