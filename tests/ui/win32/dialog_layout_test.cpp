// Each window's template as the system builds it: the client size, every control's class, id,
// text, place and styles in the order of the shared layouts, the order of the Tab key and the
// program's menu. Places are compared in pixels, through the system's own dialog-unit mapping.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "control_ids.h"
#include "layout_tables.h"
#include "recording_events.h"
#include "win32_dialog_view.h"
#include "win32_text.h"

using namespace tarnwick;
using layouts::ControlKind;
using layouts::DialogLayout;
using test::RecordingEvents;
using win32::Win32DialogView;

namespace {

struct DialogCase {
  const char* name;
  const DialogLayout* layout;
  std::string caption;
  bool hasMenu;
  std::vector<int> tabOrder;
};

RECT ToPixels(HWND dialog, const layouts::DialogRect& units) {
  RECT pixels{units.x, units.y, units.x + units.width, units.y + units.height};
  MapDialogRect(dialog, &pixels);
  return pixels;
}

RECT PlaceInClient(HWND control) {
  RECT place;
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Utf8(name);
}

const char* ClassOfKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton:
    case ControlKind::kFrame:
      return "Button";
    case ControlKind::kLabel:
    case ControlKind::kPane:
      return "Static";
    case ControlKind::kProgress:
      return "msctls_progress32";
    case ControlKind::kTable:
      return "SysListView32";
  }
  return "";
}

// The styles that make each kind behave as the windows expect.
void CheckStyles(HWND control, ControlKind kind) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  switch (kind) {
    case ControlKind::kButton:
      EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
      EXPECT_TRUE(style & WS_TABSTOP);
      break;
    case ControlKind::kFrame:
      EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
      break;
    case ControlKind::kLabel:
      // Ampersands in paths and texts are characters, not access keys.
      EXPECT_TRUE(style & SS_NOPREFIX);
      break;
    case ControlKind::kProgress: {
      PBRANGE range{};
      SendMessageW(control, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
      EXPECT_EQ(range.iLow, 0);
      EXPECT_EQ(range.iHigh, 100);
      break;
    }
    case ControlKind::kTable:
      EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
      EXPECT_TRUE(style & LVS_SINGLESEL);
      EXPECT_TRUE(style & WS_TABSTOP);
      break;
    case ControlKind::kPane:
      EXPECT_FALSE(style & WS_VISIBLE);  // waits hidden until the window places a pane there
      break;
  }
}

std::vector<int> TabOrder(HWND dialog) {
  std::vector<int> order;
  const HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  HWND control = first;
  do {
    order.push_back(GetDlgCtrlID(control));
    control = GetNextDlgTabItem(dialog, control, FALSE);
  } while (control != nullptr && control != first && order.size() < 100);
  return order;
}

class DialogLayoutTest : public testing::TestWithParam<DialogCase> {};

TEST_P(DialogLayoutTest, ClientAreaHasTheTemplatesSize) {
  RecordingEvents events;
  Win32DialogView view(events, *GetParam().layout);
  RECT client;
  GetClientRect(view.Handle(), &client);
  const RECT expected = ToPixels(view.Handle(), {0, 0, GetParam().layout->width,
                                                 GetParam().layout->height});
  EXPECT_EQ(client.right, expected.right);
  EXPECT_EQ(client.bottom, expected.bottom);
  EXPECT_EQ(TextOf(view.Handle()), GetParam().caption);
  EXPECT_EQ(GetMenu(view.Handle()) != nullptr, GetParam().hasMenu);
}

TEST_P(DialogLayoutTest, ControlsFollowTheSharedLayoutInOrder) {
  RecordingEvents events;
  Win32DialogView view(events, *GetParam().layout);
  HWND control = GetWindow(view.Handle(), GW_CHILD);
  for (const layouts::ControlLayout& expected : GetParam().layout->controls) {
    SCOPED_TRACE(std::string("control ") + std::to_string(expected.id) + " \"" + expected.text +
                 "\"");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(control)), static_cast<WORD>(expected.id));
    EXPECT_STRCASEEQ(ClassOf(control).c_str(), ClassOfKind(expected.kind));
    EXPECT_EQ(TextOf(control), expected.text);
    const RECT place = PlaceInClient(control);
    const RECT pixels = ToPixels(view.Handle(), expected.rect);
    EXPECT_EQ(place.left, pixels.left);
    EXPECT_EQ(place.top, pixels.top);
    EXPECT_EQ(place.right, pixels.right);
    EXPECT_EQ(place.bottom, pixels.bottom);
    CheckStyles(control, expected.kind);
    control = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(control, nullptr) << "a control that the layout does not have";
}

TEST_P(DialogLayoutTest, TabVisitsTheControlsInOrder) {
  if (GetParam().tabOrder.empty()) GTEST_SKIP() << "no order fixed for this window";
  RecordingEvents events;
  Win32DialogView view(events, *GetParam().layout);
  EXPECT_EQ(TabOrder(view.Handle()), GetParam().tabOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, DialogLayoutTest,
    testing::Values(
        DialogCase{"MainWindow", &layouts::kMainWindow, " Tarnwick for Adobe PDF", true,
                   {1040, 1041, 1042, 1043, 1044, 1045, 1000, 1001, 1026, 1002, 1005}},
        DialogCase{"Analysis", &layouts::kAnalysis, "Analysis", false, {1026, 1027}},
        DialogCase{"Completion", &layouts::kCompletion, "", false, {1026}},
        DialogCase{"Saving", &layouts::kSaving, "File Saving", false, {1022, 1023}},
        DialogCase{"Preview", &layouts::kPreview, "Preview", true,
                   {1040, 1047, 1042, 1043, 1044, 1045, 1013, 1014, 1015, 1017, 1016}}),
    [](const testing::TestParamInfo<DialogCase>& row) { return row.param.name; });

// The menu as [menu title, item text, id] in order.
std::vector<std::tuple<std::string, std::string, int>> MenuOf(HWND window) {
  std::vector<std::tuple<std::string, std::string, int>> items;
  const HMENU bar = GetMenu(window);
  for (int menu = 0; menu < GetMenuItemCount(bar); ++menu) {
    wchar_t title[64] = {};
    GetMenuStringW(bar, static_cast<UINT>(menu), title, 64, MF_BYPOSITION);
    const HMENU popup = GetSubMenu(bar, menu);
    for (int item = 0; item < GetMenuItemCount(popup); ++item) {
      wchar_t text[64] = {};
      GetMenuStringW(popup, static_cast<UINT>(item), text, 64, MF_BYPOSITION);
      items.emplace_back(Utf8(title), Utf8(text),
                         static_cast<int>(GetMenuItemID(popup, item)));
    }
  }
  return items;
}

TEST(ProgramMenuTest, MainAndPreviewShareTheMenu) {
  const std::vector<std::tuple<std::string, std::string, int>> expected = {
      {"&File", "Select Source File", 32771}, {"&File", "Save Current File", 32775},
      {"&File", "Save All  File", 32776},     {"&File", "Exit", 32777},
      {"&Help", "About Us", 32785},           {"&Help", "Contents", 32786}};
  RecordingEvents events;
  Win32DialogView main(events, layouts::kMainWindow);
  Win32DialogView preview(events, layouts::kPreview);
  EXPECT_EQ(MenuOf(main.Handle()), expected);
  EXPECT_EQ(MenuOf(preview.Handle()), expected);
}

}  // namespace
