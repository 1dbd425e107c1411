#pragma once

#include "qt_dialog_view.h"

class QTableWidget;

namespace tarnwick::qt {

// The main window: toolbar, file table, Browse, the two Clear buttons, Repair and the menu.
class QtMainWindowView final : public QtDialogView, public MainWindowView {
 public:
  explicit QtMainWindowView(WindowEvents& events);

  void SetFileRows(const std::vector<std::string>& paths) override;
  int SelectionMark() override { return selectionMark_; }

  QTableWidget* FileTable() const { return table_; }

 private:
  void AddRow(int row, const std::string& path);

  QTableWidget* table_;
  std::vector<std::string> rows_;
  int selectionMark_ = -1;
};

}  // namespace tarnwick::qt
