// What a window's view reports to its logic and does on its controls: commands from buttons and
// the menu, the close box, Escape and F1 kept from the dialog's own handling, one paint run per
// request, texts, progress, enabling, and the modal run with its result.
#include <windows.h>
// The system headers below build on the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <ostream>

#include "control_ids.h"
#include "pump_messages.h"
#include "recording_events.h"
#include "win32_dialog_view.h"
#include "win32_main_window_view.h"
#include "win32_text.h"
#include "win32_view_factory.h"
#include "win32_window_thread.h"

using namespace tarnwick;
using test::PumpUntil;
using test::RecordingEvents;
using win32::Win32DialogView;
using win32::Win32MainWindowView;

namespace {

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return Utf8(text);
}

class IdleShell final : public Shell {
 public:
  int Open(const std::string&, const std::vector<std::string>&) override { return 33; }
  bool ShowDocument(const std::string&, const std::string&) override { return false; }
};

// Lets the loop take what is queued, without waiting for anything in particular.
void PumpPending() {
  PumpUntil([] { return false; }, 50);
}

struct KeyCase {
  const char* name;
  WPARAM virtualKey;
  Key key;
};

// Test names show the row's name rather than its bytes.
void PrintTo(const KeyCase& row, std::ostream* out) { *out << row.name; }

class DialogKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(DialogKeyTest, KeyReachesTheLogicAndNotTheDialog) {
  RecordingEvents events;
  Win32DialogView view(events, layouts::kAnalysis);
  view.Show();
  const HWND stop = GetDlgItem(view.Handle(), ids::kAnalysisStop);
  SetFocus(stop);
  PostMessageW(stop, WM_KEYDOWN, GetParam().virtualKey, 0);
  ASSERT_TRUE(PumpUntil([&] { return !events.keys.empty(); }));
  EXPECT_EQ(events.keys, std::vector<Key>{GetParam().key});
  PumpPending();
  // Neither a cancel nor a help request came of it.
  EXPECT_TRUE(events.commands.empty());
  EXPECT_EQ(events.closes, 0);
  EXPECT_TRUE(IsWindowVisible(view.Handle()));
}

INSTANTIATE_TEST_SUITE_P(Keys, DialogKeyTest,
                         testing::Values(KeyCase{"Escape", VK_ESCAPE, Key::kEscape},
                                         KeyCase{"F1", VK_F1, Key::kF1}),
                         [](const testing::TestParamInfo<KeyCase>& row) { return row.param.name; });

TEST(DialogViewTest, ButtonsAndMenuItemsReportTheirIds) {
  RecordingEvents events;
  Win32DialogView view(events, layouts::kMainWindow);
  SendMessageW(GetDlgItem(view.Handle(), ids::kBrowse), BM_CLICK, 0, 0);
  SendMessageW(view.Handle(), WM_COMMAND, MAKEWPARAM(ids::kMenuExit, 0), 0);
  EXPECT_EQ(events.commands, (std::vector<int>{ids::kBrowse, ids::kMenuExit}));
}

TEST(DialogViewTest, CloseBoxGoesToTheLogicAndLeavesTheWindow) {
  RecordingEvents events;
  Win32DialogView view(events, layouts::kSaving);
  view.Show();
  SendMessageW(view.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(events.closes, 1);
  EXPECT_TRUE(events.commands.empty());
  EXPECT_TRUE(IsWindowVisible(view.Handle()));
}

TEST(DialogViewTest, EnterPressesTheDefaultButtonWhereThereIsOne) {
  win32::Win32WindowThread thread;
  IdleShell shell;
  win32::Win32ViewFactory views(shell, thread);
  RecordingEvents completionEvents;
  RecordingEvents savingEvents;
  const auto completion = views.CreateCompletionView(completionEvents);
  const auto saving = views.CreateSavingView(savingEvents);
  for (DialogView* view : {completion.get(), saving.get()}) {
    SendMessageW(win32::HandleOf(view), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
  }
  EXPECT_EQ(completionEvents.commands, std::vector<int>{ids::kCompletionOk});
  EXPECT_TRUE(savingEvents.commands.empty());
}

TEST(DialogViewTest, SystemMenusAboutEntryOpensTheAboutBox) {
  win32::Win32WindowThread thread;
  RecordingEvents events;
  Win32DialogView view(events, layouts::kAnalysis);
  const HMENU systemMenu = GetSystemMenu(view.Handle(), FALSE);
  const int last = GetMenuItemCount(systemMenu) - 1;
  const UINT about = GetMenuItemID(systemMenu, last);
  EXPECT_EQ(GetMenuState(systemMenu, static_cast<UINT>(last - 1), MF_BYPOSITION) & MF_SEPARATOR,
            static_cast<UINT>(MF_SEPARATOR));
  bool aboutShown = false;
  thread.PostAfter(200, [&] {
    const HWND box = FindWindowW(L"#32770", L"About Tarnwick for Adobe PDF");
    aboutShown = box != nullptr && GetWindow(box, GW_OWNER) == view.Handle();
    if (box != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(view.Handle(), WM_SYSCOMMAND, about, 0);
  EXPECT_TRUE(aboutShown);
  EXPECT_TRUE(events.commands.empty());
}

TEST(DialogViewTest, EveryInvalidateRunsThePaintLogicOnceLater) {
  RecordingEvents events;
  Win32DialogView view(events, layouts::kAnalysis);
  view.Invalidate();
  view.Invalidate();
  EXPECT_EQ(events.paints, 0);
  PumpPending();
  EXPECT_EQ(events.paints, 2);  // hidden or not
}

TEST(DialogViewTest, SetsTextsProgressAndEnabling) {
  RecordingEvents events;
  Win32DialogView view(events, layouts::kSaving);
  view.SetText(ids::kSavingFileName, "C:\\Docs\\R&D report.pdf");
  view.SetText(ids::kSavingStepLabel, "( Step 1 / 2 )");
  view.SetProgress(ids::kCurrentProgress, 42);
  view.EnableControl(ids::kSavingPause, false);
  view.SetTitle(" Tarnwick for Adobe PDF");
  EXPECT_EQ(TextOf(GetDlgItem(view.Handle(), ids::kSavingFileName)), "C:\\Docs\\R&D report.pdf");
  EXPECT_EQ(TextOf(GetDlgItem(view.Handle(), ids::kSavingStepLabel)), "( Step 1 / 2 )");
  EXPECT_EQ(SendDlgItemMessageW(view.Handle(), ids::kCurrentProgress, PBM_GETPOS, 0, 0), 42);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(view.Handle(), ids::kSavingPause)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(view.Handle(), ids::kSavingStop)));
  EXPECT_EQ(TextOf(view.Handle()), " Tarnwick for Adobe PDF");
}

TEST(DialogViewTest, GraysMenuItems) {
  RecordingEvents events;
  Win32DialogView view(events, layouts::kMainWindow);
  view.EnableMenuItem(ids::kMenuSaveAll, false);
  const HMENU menu = GetMenu(view.Handle());
  EXPECT_TRUE(GetMenuState(menu, ids::kMenuSaveAll, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu, ids::kMenuSaveCurrent, MF_BYCOMMAND) & MF_GRAYED);
  view.EnableMenuItem(ids::kMenuSaveAll, true);
  EXPECT_FALSE(GetMenuState(menu, ids::kMenuSaveAll, MF_BYCOMMAND) & MF_GRAYED);
}

void PressControlO() {
  keybd_event(VK_CONTROL, 0, 0, 0);
  keybd_event('O', 0, 0, 0);
  keybd_event('O', 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

TEST(DialogViewTest, ControlOChoosesSelectSourceFileWhileTheItemIsEnabled) {
  RecordingEvents events;
  Win32DialogView view(events, layouts::kMainWindow);
  view.Show();
  SetFocus(GetDlgItem(view.Handle(), ids::kBrowse));
  PressControlO();
  ASSERT_TRUE(PumpUntil([&] { return !events.commands.empty(); }, 2000));
  EXPECT_EQ(events.commands, std::vector<int>{ids::kMenuSelectSource});
  view.EnableMenuItem(ids::kMenuSelectSource, false);
  PressControlO();
  PumpPending();
  EXPECT_EQ(events.commands.size(), 1U);
}

struct ModalCase {
  const char* name;
  DialogResult result;
};

void PrintTo(const ModalCase& row, std::ostream* out) { *out << row.name; }

class ModalRunTest : public testing::TestWithParam<ModalCase> {};

TEST_P(ModalRunTest, RunsUntilEndModalWithTheOtherWindowsDisabled) {
  win32::Win32WindowThread thread;
  RecordingEvents events;
  Win32DialogView owner(events, layouts::kMainWindow);
  Win32DialogView dialog(events, layouts::kAnalysis);
  owner.Show();
  bool ownerDisabledMeanwhile = false;
  bool dialogShownMeanwhile = false;
  thread.PostAfter(50, [&] {
    ownerDisabledMeanwhile = !IsWindowEnabled(owner.Handle());
    dialogShownMeanwhile = IsWindowVisible(dialog.Handle()) != FALSE;
    dialog.EndModal(GetParam().result);
  });
  EXPECT_EQ(dialog.RunModal(), GetParam().result);
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(dialogShownMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
}

INSTANTIATE_TEST_SUITE_P(Results, ModalRunTest,
                         testing::Values(ModalCase{"Ok", DialogResult::kOk},
                                         ModalCase{"Cancel", DialogResult::kCancel}),
                         [](const testing::TestParamInfo<ModalCase>& row) {
                           return row.param.name;
                         });

TEST(MainWindowViewTest, FileTableIsAReportWithTwoColumns) {
  RecordingEvents events;
  Win32MainWindowView view(events);
  const HWND table = view.Table();
  const auto extended = SendMessageW(table, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  wchar_t title[32] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = title;
  column.cchTextMax = 32;
  ASSERT_TRUE(SendMessageW(table, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(Utf8(title), " File No.");
  EXPECT_EQ(column.cx, 60);
  const int numberWidth = column.cx;
  ASSERT_TRUE(SendMessageW(table, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(Utf8(title), " File Name");
  // The path column fills the rest of the table, so that no scroll bar hides the file names.
  RECT client;
  GetClientRect(table, &client);
  EXPECT_EQ(numberWidth + column.cx, client.right);
}

std::string CellOf(HWND table, int row, int column) {
  wchar_t text[MAX_PATH] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  SendMessageW(table, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return Utf8(text);
}

void SelectRow(HWND table, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(table, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  SendMessageW(table, LVM_SETSELECTIONMARK, 0, row);
}

TEST(MainWindowViewTest, RowsAreNumberedShortenedAndAppendedRowsKeepTheMark) {
  RecordingEvents events;
  Win32MainWindowView view(events);
  EXPECT_EQ(view.SelectionMark(), -1);
  view.SetFileRows({"C:\\a.pdf", "C:\\b.pdf"});
  SelectRow(view.Table(), 1);
  view.SetFileRows({"C:\\a.pdf", "C:\\b.pdf", "D:\\c.pdf"});
  EXPECT_EQ(view.SelectionMark(), 1);
  EXPECT_EQ(CellOf(view.Table(), 2, 0), "3");
  EXPECT_EQ(CellOf(view.Table(), 2, 1), "D:\\c.pdf");
  view.SetFileRows({"C:\\a.pdf", "D:\\c.pdf"});
  EXPECT_EQ(view.SelectionMark(), -1);
  EXPECT_EQ(SendMessageW(view.Table(), LVM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(CellOf(view.Table(), 1, 0), "2");
  EXPECT_EQ(CellOf(view.Table(), 1, 1), "D:\\c.pdf");
  // A path too long for its column loses folders in the middle, never its file name.
  std::string deep = "C:\\";
  for (int level = 0; level < 30; ++level) deep += "folder\\";
  view.SetFileRows({deep + "report.pdf"});
  const std::string shown = CellOf(view.Table(), 0, 1);
  EXPECT_TRUE(shown.starts_with("C:\\")) << shown;
  EXPECT_TRUE(shown.ends_with("\\report.pdf")) << shown;
  EXPECT_NE(shown.find("..."), std::string::npos) << shown;
}

}  // namespace
