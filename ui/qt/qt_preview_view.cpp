#include "qt_preview_view.h"

#include <QApplication>
#include <QMouseEvent>

#include "control_ids.h"
#include "dialog_controls.h"
#include "pdf_pane.h"
#include "skinned_area.h"

namespace tarnwick::qt {
namespace {

PdfPane* AddPane(PreviewEvents& events, QWidget* area, int id) {
  auto* pane = new PdfPane(events, area);
  pane->setObjectName(IdName(id));
  pane->Place(0, 0, 0, 0);
  return pane;
}

bool IsRightClick(const QEvent* event) {
  if (event->type() == QEvent::ContextMenu) return true;
  if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick) {
    return false;
  }
  return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
}

}  // namespace

QtPreviewView::QtPreviewView(PreviewEvents& events)
    : QtDialogView(events, 484, 290, QStringLiteral("Preview")) {
  AddProgramMenu();
  QWidget* area = ClientArea();
  AddCommandButton(ids::kToolbarOpen, {}, {1, 3, 34, 28});
  AddCommandButton(ids::kPreviewSaveCurrent, {}, {31, 3, 34, 28});
  AddCommandButton(ids::kToolbarSaveAll, {}, {62, 3, 34, 28});
  AddCommandButton(ids::kToolbarHelp, {}, {93, 3, 34, 28});
  AddCommandButton(ids::kToolbarAbout, {}, {124, 3, 34, 28});
  AddCommandButton(ids::kToolbarExit, {}, {155, 3, 34, 28});
  // Labels whose template gives only a position get a size that holds their text.
  AddLabel(area, 0, QStringLiteral("Source File  :"), {145, 48, 46, 10});
  AddLabel(area, ids::kSourcePath, {}, {192, 48, 279, 18});
  firstPane_ = AddPane(events, area, ids::kFirstPane);
  secondPane_ = AddPane(events, area, ids::kSecondPane);
  AddLabel(area, 0, QStringLiteral(" File Number :"), {144, 247, 45, 10});
  AddLabel(area, ids::kFileNumber, {}, {189, 247, 8, 10});
  AddLabel(area, 1036, QStringLiteral("/"), {197, 247, 6, 10});
  AddLabel(area, ids::kFileCount, {}, {203, 247, 40, 10});
  AddCommandButton(ids::kBackFile, QStringLiteral("Back File"), {250, 247, 61, 14});
  AddCommandButton(ids::kNextFile, QStringLiteral("Next File"), {314, 247, 61, 14});
  AddCommandButton(ids::kBack, QStringLiteral("Back"), {144, 268, 57, 14});
  AddCommandButton(ids::kSaveCurrentButton, QStringLiteral("Save Current File"),
                   {335, 268, 73, 14});
  AddCommandButton(ids::kSaveAllButton, QStringLiteral("Save All"), {409, 268, 73, 14});
  // The panes make their scroll bars and viewports as they go, so right clicks are caught for
  // the whole application and kept when they are meant for this window.
  qApp->installEventFilter(this);
}

QtPreviewView::~QtPreviewView() { qApp->removeEventFilter(this); }

PdfPane* QtPreviewView::PdfPaneOf(int id) const {
  return id == ids::kSecondPane ? secondPane_ : firstPane_;
}

BrowserPane& QtPreviewView::Pane(int id) { return *PdfPaneOf(id); }

int QtPreviewView::WindowBottomInClient() {
  // The frame below the client area counts too, as in the window rectangle of the layout's
  // origin; before the window is shown it is not known and taken as none.
  const int frameBelow = frameGeometry().bottom() - geometry().bottom();
  return ClientArea()->height() + std::max(frameBelow, 0);
}

bool QtPreviewView::eventFilter(QObject* watched, QEvent* event) {
  if (IsRightClick(event) && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    return true;
  }
  return QtDialogView::eventFilter(watched, event);
}

}  // namespace tarnwick::qt
