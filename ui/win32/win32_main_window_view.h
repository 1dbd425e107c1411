#pragma once

#include "win32_dialog_view.h"

namespace tarnwick::win32 {

// The main window: toolbar, file table, Browse, the two Clear buttons, Repair and the menu.
class Win32MainWindowView final : public Win32DialogView, public MainWindowView {
 public:
  explicit Win32MainWindowView(WindowEvents& events);

  void SetFileRows(const std::vector<std::string>& paths) override;
  int SelectionMark() override;

  HWND Table() const { return table_; }

 private:
  void AppendRow(int row, const std::string& path);

  HWND table_;
  std::vector<std::string> rows_;
};

}  // namespace tarnwick::win32
