#pragma once

#include "qt_dialog_view.h"

namespace tarnwick::qt {

class FileTable;

// The main window: toolbar, file table, Browse, the two Clear buttons, Repair and the menu.
class QtMainWindowView final : public QtDialogView, public MainWindowView {
 public:
  explicit QtMainWindowView(WindowEvents& events);

  void SetFileRows(const std::vector<std::string>& paths) override;
  int SelectionMark() override { return selectionMark_; }

  FileTable* Table() const { return table_; }

 private:
  FileTable* table_;
  std::vector<std::string> rows_;
  int selectionMark_ = -1;
};

}  // namespace tarnwick::qt
