// The system's file-open dialog as the program asks for it: whole paths of one or several
// chosen files in the dialog's order, and nothing when the user cancels. The dialog is answered
// from a timer set before it opens, by typing into its name box as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "win32_pickers.h"
#include "win32_text.h"
#include "win32_window_thread.h"

using namespace tarnwick;

namespace {

constexpr int kNameBox = 0x47c;  // the explorer-style dialog's file name box

struct PickCase {
  const char* name;
  std::string typed;                // empty: the user cancels
  std::vector<std::string> picked;  // names in the folder, in the expected order
  bool cancelled;
};

// Test names show the row's name rather than its bytes.
void PrintTo(const PickCase& row, std::ostream* out) { *out << row.name; }

class PickFilesTest : public testing::TestWithParam<PickCase> {
 protected:
  void SetUp() override {
    // One folder per row and process: CTest runs the rows side by side.
    folder_ = std::filesystem::temp_directory_path() /
              ("tarnwick pickers test " + std::string(GetParam().name) + " " +
               std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
    for (const char* name : {"a.pdf", "b.PDF"}) std::ofstream(folder_ / name) << "%PDF-1.4\n";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  return folder;
}

// Types into the dialog's name box and presses Open.
void Answer(HWND box, const std::wstring& typed) {
  SetDlgItemTextW(box, kNameBox, typed.c_str());
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

TEST_P(PickFilesTest, GivesWholePathsOrNothing) {
  const PickCase& row = GetParam();
  win32::Win32WindowThread thread;
  const OpenFilesRequest request{.title = std::string(" Pick ") + row.name,
                                 .filterName = "Adobe Pdf Document",
                                 .patterns = {"*.pdf", "*.PDF"},
                                 .multipleSelection = true};
  const std::wstring folderBefore = CurrentFolder();
  bool answered = false;
  // The first answer opens the folder, the second picks names in it.
  thread.PostAfter(500, [&] {
    const HWND box = FindWindowW(L"#32770", Wide(request.title).c_str());
    if (box == nullptr) return;
    if (row.cancelled) {
      answered = true;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    Answer(box, folder_.wstring());
    thread.PostAfter(300, [&, box] {
      answered = true;
      Answer(box, Wide(row.typed));
    });
  });
  const std::optional<std::vector<std::string>> paths = win32::Win32Pickers().PickFiles(request);
  ASSERT_TRUE(answered);
  // The program's current folder stays its own: a folder picked from is not held open.
  EXPECT_EQ(CurrentFolder(), folderBefore);
  if (row.cancelled) {
    EXPECT_FALSE(paths.has_value());
    return;
  }
  ASSERT_TRUE(paths.has_value());
  std::vector<std::string> expected;
  for (const std::string& name : row.picked) expected.push_back((folder_ / name).string());
  EXPECT_EQ(*paths, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PickFilesTest,
    testing::Values(PickCase{"OneFile", "b.PDF", {"b.PDF"}, false},
                    PickCase{"TwoFiles", "\"b.PDF\" \"a.pdf\"", {"b.PDF", "a.pdf"}, false},
                    PickCase{"Cancelled", "", {}, true}),
    [](const testing::TestParamInfo<PickCase>& row) { return row.param.name; });

}  // namespace
