#include "qt_preview_view.h"

#include <QApplication>
#include <QMouseEvent>

#include "control_ids.h"
#include "dialog_controls.h"
#include "pdf_pane.h"
#include "skinned_area.h"

namespace tarnwick::qt {
namespace {

// Both panes wait hidden until the window places one of them.
QtDialogView::OwnControlMaker PaneMaker(PreviewEvents& events) {
  return [&events](const layouts::ControlLayout&, QWidget* area) {
    auto* pane = new PdfPane(events, area);
    pane->Place(0, 0, 0, 0);
    return pane;
  };
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
    : QtDialogView(events, layouts::kPreview, PaneMaker(events)),
      firstPane_(ClientArea()->findChild<PdfPane*>(IdName(ids::kFirstPane))),
      secondPane_(ClientArea()->findChild<PdfPane*>(IdName(ids::kSecondPane))) {
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
