#include "file_table.h"

#include <QHeaderView>
#include <QScrollBar>

#include "app_texts.h"

namespace tarnwick::qt {
namespace {

constexpr int kNumberColumnWidth = 60;

}  // namespace

FileTable::FileTable(QWidget* parent) : QTableWidget(0, 2, parent) {
  setHorizontalHeaderLabels(
      {QString::fromUtf8(ui::kColumnFileNumber), QString::fromUtf8(ui::kColumnFileName)});
  QHeaderView* header = horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // A path column wider than the table would put the file names out of sight behind a scroll
  // bar; filling the rest of the width keeps them in view with the ellipsis at the start.
  header->setStretchLastSection(true);
  setColumnWidth(0, kNumberColumnWidth);
  setTextElideMode(Qt::ElideLeft);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
}

void FileTable::SetRow(int row, const QString& path) {
  setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
  auto* name = new QTableWidgetItem(path);
  name->setToolTip(path);
  setItem(row, 1, name);
}

void FileTable::scrollTo(const QModelIndex& index, ScrollHint hint) {
  // Rows come into view from above or below; the sideways position stays the user's.
  const int sideways = horizontalScrollBar()->value();
  QTableWidget::scrollTo(index, hint);
  horizontalScrollBar()->setValue(sideways);
}

}  // namespace tarnwick::qt
