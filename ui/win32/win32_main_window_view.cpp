#include "win32_main_window_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "app_texts.h"
#include "control_ids.h"
#include "win32_text.h"

namespace tarnwick::win32 {
namespace {

constexpr int kNumberColumnWidth = 60;
// What a list view keeps free around a cell's text.
constexpr int kCellPadding = 12;
// What shortening adds at most: the ellipsis and its terminator.
constexpr std::size_t kEllipsisRoom = 5;

void AddColumn(HWND table, int index, const char* title, int width) {
  std::wstring text = Wide(title);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = text.data();
  column.iSubItem = index;
  SendMessageW(table, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&column));
}

// A path too long for its column keeps its drive and its file name and loses folders in the
// middle, as the system shortens paths: the name the user picked stays in sight.
std::wstring ShortenedPath(HWND table, int column, const std::wstring& path) {
  const auto width =
      static_cast<int>(SendMessageW(table, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
  std::wstring shown = path;
  shown.resize(path.size() + kEllipsisRoom, L'\0');
  RECT room{0, 0, std::max(width - kCellPadding, 0), 0};
  HDC dc = GetDC(table);
  const HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(table, WM_GETFONT, 0, 0)));
  DrawTextW(dc, shown.data(), -1, &room,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  SelectObject(dc, previous);
  ReleaseDC(table, dc);
  shown.resize(wcslen(shown.c_str()));
  return shown;
}

}  // namespace

Win32MainWindowView::Win32MainWindowView(WindowEvents& events)
    : Win32DialogView(events, layouts::kMainWindow), table_(GetDlgItem(Handle(), ids::kFileTable)) {
  const auto extended = static_cast<LPARAM>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  SendMessageW(table_, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(extended), extended);
  AddColumn(table_, 0, ui::kColumnFileNumber, kNumberColumnWidth);
  AddColumn(table_, 1, ui::kColumnFileName, 0);
  // A path column wider than the table would put the file names out of sight behind a scroll
  // bar; filling the rest of the width keeps them in view.
  SendMessageW(table_, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
}

void Win32MainWindowView::AppendRow(int row, const std::string& path) {
  std::wstring number = std::to_wstring(row + 1);
  std::wstring shown = ShortenedPath(table_, 1, Wide(path));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = number.data();
  SendMessageW(table_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.iSubItem = 1;
  item.pszText = shown.data();
  SendMessageW(table_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Win32MainWindowView::SetFileRows(const std::vector<std::string>& paths) {
  // Rows appended at the end keep the list view's selection mark; any other change starts over,
  // which clears it.
  const bool appended =
      paths.size() >= rows_.size() && std::equal(rows_.begin(), rows_.end(), paths.begin());
  if (!appended) {
    SendMessageW(table_, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(table_, LVM_SETSELECTIONMARK, 0, -1);
    rows_.clear();
  }
  for (std::size_t row = rows_.size(); row < paths.size(); ++row) {
    AppendRow(static_cast<int>(row), paths[row]);
  }
  rows_ = paths;
}

int Win32MainWindowView::SelectionMark() {
  return static_cast<int>(SendMessageW(table_, LVM_GETSELECTIONMARK, 0, 0));
}

}  // namespace tarnwick::win32
