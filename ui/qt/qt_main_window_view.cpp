#include "qt_main_window_view.h"

#include <algorithm>

#include "app_texts.h"
#include "control_ids.h"
#include "dialog_controls.h"
#include "file_table.h"
#include "skinned_area.h"

namespace tarnwick::qt {

QtMainWindowView::QtMainWindowView(WindowEvents& events)
    : QtDialogView(events, 484, 290, QString::fromUtf8(ui::kWindowTitle)) {
  AddProgramMenu();
  QWidget* area = ClientArea();
  AddCommandButton(ids::kToolbarOpen, {}, {1, 1, 34, 28});
  AddCommandButton(ids::kToolbarSaveCurrent, {}, {34, 1, 34, 28});
  AddCommandButton(ids::kToolbarSaveAll, {}, {66, 1, 34, 28});
  AddCommandButton(ids::kToolbarHelp, {}, {98, 1, 34, 28});
  AddCommandButton(ids::kToolbarAbout, {}, {130, 1, 34, 28});
  AddCommandButton(ids::kToolbarExit, {}, {162, 1, 34, 28});
  AddLabel(area, 0, QStringLiteral("Select File(s)    :"), {150, 55, 60, 18});
  table_ = new FileTable(area);
  table_->setObjectName(IdName(ids::kFileTable));
  table_->setGeometry(ToPixels({149, 76, 267, 108}));
  AddCommandButton(ids::kBrowse, QStringLiteral("Browse"), {425, 76, 57, 14});
  AddCommandButton(ids::kClearSelected, QStringLiteral("Clear selected"), {421, 148, 61, 14});
  AddCommandButton(ids::kClearAll, QStringLiteral("Clear All"), {421, 170, 61, 14});
  AddCommandButton(ids::kRepair, QStringLiteral("Repair"), {425, 269, 57, 14});

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
