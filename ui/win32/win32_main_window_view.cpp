#include "win32_main_window_view.h"

#include <commctrl.h>

#include <algorithm>

#include "app_texts.h"
#include "control_ids.h"
#include "win32_text.h"

namespace tarnwick::win32 {
namespace {

constexpr int kNumberColumnWidth = 60;

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
  std::wstring wide = Wide(path);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = number.data();
  SendMessageW(table_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.iSubItem = 1;
  item.pszText = wide.data();
  SendMessageW(table_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Win32MainWindowView::SetFileRows(const std::vector<std::string>& paths) {
  // Rows appended at the end keep the list view's selection mark; any other change starts over,
  // which clears it.
  const bool appended = paths.size() >= rows_.size() &&
                        std::equal(rows_.begin(), rows_.end(), paths.begin());
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
