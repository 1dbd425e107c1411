#include "qt_main_window_view.h"

#include <algorithm>

#include "control_ids.h"
#include "dialog_controls.h"
#include "file_table.h"
#include "skinned_area.h"

namespace tarnwick::qt {
namespace {

QWidget* MakeFileTable(const layouts::ControlLayout& control, QWidget* area) {
  auto* table = new FileTable(area);
  table->setGeometry(ToPixels(control.rect));
  return table;
}

}  // namespace

QtMainWindowView::QtMainWindowView(WindowEvents& events)
    : QtDialogView(events, layouts::kMainWindow, &MakeFileTable),
      table_(ClientArea()->findChild<FileTable*>(IdName(ids::kFileTable))) {
  // The mark is the row selected last; it stays when the highlight goes.
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    if (!selected.isEmpty()) selectionMark_ = selected.first()->row();
  });
}

void QtMainWindowView::SetFileRows(const std::vector<std::string>& paths) {
  const bool appended = paths.size() >= rows_.size() &&
                        std::equal(rows_.begin(), rows_.end(), paths.begin());
  const int keptMark = selectionMark_;
  if (!appended) {
    table_->clearSelection();
    table_->setRowCount(0);
  }
  const int first = table_->rowCount();
  table_->setRowCount(static_cast<int>(paths.size()));
  for (int row = first; row < static_cast<int>(paths.size()); ++row) {
    table_->SetRow(row, QString::fromStdString(paths[static_cast<std::size_t>(row)]));
  }
  rows_ = paths;
  selectionMark_ = appended ? keptMark : -1;
}

}  // namespace tarnwick::qt
