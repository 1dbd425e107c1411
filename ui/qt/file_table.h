#pragma once

#include <QTableWidget>

namespace tarnwick::qt {

// The main window's file table: numbers in column 0, paths in column 1, one selected row. The
// path column fills the table's width; a path wider than its column shows its end, the file
// name, after an ellipsis, and the whole path as its tooltip. The table never scrolls sideways
// by itself, so a click on a row leaves the view where the user put it.
class FileTable final : public QTableWidget {
 public:
  explicit FileTable(QWidget* parent);

  void SetRow(int row, const QString& path);
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
};

}  // namespace tarnwick::qt
