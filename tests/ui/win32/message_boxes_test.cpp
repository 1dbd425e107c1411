// Message boxes as the system shows them: the request's text and caption, its buttons, a
// system-modal box above other windows, and the button pressed as the answer. The box is
// answered from a timer set before it opens, as a user would answer it.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "win32_message_boxes.h"
#include "win32_text.h"
#include "win32_window_thread.h"

using namespace tarnwick;
using win32::Win32MessageBoxes;

namespace {

struct BoxSeen {
  bool found = false;
  bool hasText = false;
  bool hasOk = false;
  bool hasYes = false;
  bool hasNo = false;
  bool topmost = false;
};

BoxSeen Inspect(HWND box, const std::string& text) {
  BoxSeen seen;
  seen.found = true;
  seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
  seen.hasYes = GetDlgItem(box, IDYES) != nullptr;
  seen.hasNo = GetDlgItem(box, IDNO) != nullptr;
  seen.topmost = (GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  const std::wstring wanted = Wide(text);
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t shown[256] = {};
    GetWindowTextW(child, shown, 256);
    if (wanted == shown) seen.hasText = true;
  }
  return seen;
}

struct MessageBoxCase {
  const char* name;
  MessageButtons buttons;
  MessageIcon icon;
  bool systemModal;
  int press;
  MessageAnswer answer;
};

// Test names show the row's name rather than its bytes.
void PrintTo(const MessageBoxCase& row, std::ostream* out) { *out << row.name; }

class MessageBoxTest : public testing::TestWithParam<MessageBoxCase> {};

TEST_P(MessageBoxTest, ShowsTheRequestAndGivesThePressedButton) {
  const MessageBoxCase& row = GetParam();
  win32::Win32WindowThread thread;
  const MessageBoxRequest request{.text = "Do you want to exit ? ",
                                  .caption = std::string("Caption of ") + row.name,
                                  .buttons = row.buttons,
                                  .icon = row.icon,
                                  .systemModal = row.systemModal};
  BoxSeen seen;
  thread.PostAfter(300, [&] {
    const HWND box = FindWindowW(L"#32770", Wide(request.caption).c_str());
    if (box == nullptr) return;
    seen = Inspect(box, request.text);
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(row.press), 0);
  });
  const MessageAnswer answer = Win32MessageBoxes().Show(request);
  ASSERT_TRUE(seen.found);
  EXPECT_TRUE(seen.hasText);
  const bool yesNo = row.buttons == MessageButtons::kYesNo;
  EXPECT_EQ(seen.hasYes, yesNo);
  EXPECT_EQ(seen.hasNo, yesNo);
  EXPECT_EQ(seen.hasOk, !yesNo);
  EXPECT_EQ(seen.topmost, row.systemModal);
  EXPECT_EQ(answer, row.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, MessageBoxTest,
    testing::Values(MessageBoxCase{"Notice", MessageButtons::kOk, MessageIcon::kInformation, true,
                                   IDOK, MessageAnswer::kOk},
                    MessageBoxCase{"QuestionYes", MessageButtons::kYesNo, MessageIcon::kQuestion,
                                   true, IDYES, MessageAnswer::kYes},
                    MessageBoxCase{"QuestionNo", MessageButtons::kYesNo, MessageIcon::kQuestion,
                                   false, IDNO, MessageAnswer::kNo},
                    MessageBoxCase{"PlainWarning", MessageButtons::kOk, MessageIcon::kWarning,
                                   false, IDOK, MessageAnswer::kOk}),
    [](const testing::TestParamInfo<MessageBoxCase>& row) { return row.param.name; });

}  // namespace
