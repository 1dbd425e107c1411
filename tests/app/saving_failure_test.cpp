// Saves that fail while writing, through faults only Linux can make: a limit on the size of
// the files a process writes, and a destination folder removed while a file is open in it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "app_texts.h"
#include "control_ids.h"
#include "desktop_harness.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;
using enum MessageAnswer;

// Lowers the limit on the size of files this process writes, for the object's lifetime.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lowered = old_;
    lowered.rlim_cur = bytes;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
};

enum class SaveFault { kFileSizeLimit, kFolderRemoved };

struct SaveFailure {
  const char* name;
  bool saveAll;
  SaveFault fault;
  const char* reason;
};

void PrintTo(const SaveFailure& failure, std::ostream* out) { *out << failure.name; }

class SavingFailure : public testing::TestWithParam<SaveFailure> {};

// A save that fails while writing: the warning names the file and the system's reason, an
// older copy of that name (replaced only after Yes) keeps its bytes, no part file is left, and
// the log gets no banner. Save Current returns to the preview; Save All stops there, since the
// files after it would go into the same folder, and says that saving failed.
TEST_P(SavingFailure, IsShownAndLosesNothing) {
  const SaveFailure& failure = GetParam();
  DesktopHarness h;
  const std::string small = h.WriteSource("a.pdf");
  const std::string large = h.WriteLargeSource("z.pdf");
  const std::string older = h.destinationFolder + "/z.pdf";
  WriteFile(older, "older copy");
  std::optional<FileSizeLimit> limit;
  const auto savingLargeFile = [&] {
    return SavingPast(h, 60) && h.views.Open("saving").texts[ids::kSavingFileName] == large;
  };
  if (failure.fault == SaveFault::kFileSizeLimit) {
    h.loop.When(savingLargeFile, [&] { limit.emplace(16 * 1024); });
  } else {
    h.loop.When(savingLargeFile, [&] { fs::remove_all(h.destinationFolder); });
  }
  h.Repair(failure.saveAll ? std::vector{small, large, h.WriteSource("b.pdf")}
                           : std::vector{large});
  h.pickers.NextFolder(h.destinationFolder);
  h.Click("preview", failure.saveAll ? ids::kSaveAllButton : ids::kSaveCurrentButton);
  h.Expect("File already exist. Do you want to overwrite?", kYes);
  const std::string warningText = older + ": " + failure.reason;
  h.Expect(warningText, kOk);
  if (failure.saveAll) {
    h.Expect("Saving failed: 1 of 3 files were saved.", kOk);
  } else {
    h.Then("back in the preview", [&] {
      EXPECT_TRUE(h.views.Preview().visible);
      h.views.Preview().Events().OnClose();
    });
    h.Expect(ui::kExitQuestion, kYes);
  }
  EXPECT_EQ(h.Run(), 0);
  limit.reset();
  const auto warning = std::find_if(h.messages.shown.begin(), h.messages.shown.end(),
                                    [&](const auto& shown) { return shown.text == warningText; });
  ASSERT_NE(warning, h.messages.shown.end());
  EXPECT_EQ(warning->icon, MessageIcon::kWarning);
  EXPECT_EQ(warning->buttons, MessageButtons::kOk);
  EXPECT_EQ(warning->caption, ui::kMessageCaption);
  if (failure.fault == SaveFault::kFileSizeLimit) {
    EXPECT_EQ(ReadFile(older), "older copy");
    const std::vector<std::string> left = failure.saveAll
                                              ? std::vector<std::string>{"a.pdf", "z.pdf"}
                                              : std::vector<std::string>{"z.pdf"};
    EXPECT_EQ(FileNames(h.destinationFolder), left) << "no part file";
  } else {
    EXPECT_FALSE(fs::exists(h.destinationFolder)) << "nothing made again where it was";
  }
  EXPECT_EQ(h.Log().find(ui::kCompletedBanner), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Saves, SavingFailure,
    testing::Values(
        SaveFailure{"CurrentOverTheSizeLimit", false, SaveFault::kFileSizeLimit, "File too large"},
        SaveFailure{"AllOverTheSizeLimit", true, SaveFault::kFileSizeLimit, "File too large"},
        SaveFailure{"CurrentIntoARemovedFolder", false, SaveFault::kFolderRemoved,
                    "No such file or directory"},
        SaveFailure{"AllIntoARemovedFolder", true, SaveFault::kFolderRemoved,
                    "No such file or directory"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarnwick::test
