#include "qt_dialog_view.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QVBoxLayout>

#include "bitmap_button.h"
#include "bitmap_image.h"
#include "dialog_controls.h"
#include "focus_ring.h"
#include "program_menu.h"
#include "skinned_area.h"

namespace tarnwick::qt {

QtDialogView::QtDialogView(WindowEvents& events, const layouts::DialogLayout& dialogLayout,
                           const OwnControlMaker& makeOwnControl)
    : events_(events), client_(new SkinnedArea(this)), focusRing_(new FocusRing(this)) {
  setWindowTitle(QString::fromUtf8(dialogLayout.caption));
  // Title bar, system menu and minimize box, as the templates have; no help button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  client_->setFixedSize(ToPixels(dialogLayout.width, dialogLayout.height));
  // The templates are laid out for an 8-point dialog font of Tahoma's width; a wider desktop
  // font would cut or wrap their labels, so metric-compatible narrow families come first.
  QFont templateFont = client_->font();
  templateFont.setFamilies({"Tahoma", "Liberation Sans", "Arimo", "Nimbus Sans", "Arial",
                            templateFont.family()});
  templateFont.setPointSize(8);
  client_->setFont(templateFont);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  box->setSizeConstraint(QLayout::SetFixedSize);
  box->addWidget(client_);
  if (dialogLayout.hasMenu) AddProgramMenu();
  for (const layouts::ControlLayout& control : dialogLayout.controls) {
    AddControl(control, makeOwnControl);
  }
}

QtDialogView::~QtDialogView() {
  if (loop_) loop_->exit(static_cast<int>(DialogResult::kCancel));
}

void QtDialogView::AddProgramMenu() {
  menu_ = BuildProgramMenu(this, menuItems_, [this](int id) { events_.OnCommand(id); });
  layout()->setMenuBar(menu_);
}

BitmapButton* QtDialogView::AddCommandButton(int id, const QString& text, const DialogRect& rect) {
  BitmapButton* button = AddButton(client_, id, text, rect);
  connect(button, &QAbstractButton::clicked, this, [this, id] { events_.OnCommand(id); });
  return button;
}

void QtDialogView::AddControl(const layouts::ControlLayout& control,
                              const OwnControlMaker& makeOwnControl) {
  const QString text = QString::fromUtf8(control.text);
  switch (control.kind) {
    case layouts::ControlKind::kButton:
      AddCommandButton(control.id, text, control.rect);
      break;
    case layouts::ControlKind::kLabel:
      AddLabel(client_, control.id, text, control.rect);
      break;
    case layouts::ControlKind::kProgress:
      AddProgressBar(client_, control.id, control.rect);
      break;
    case layouts::ControlKind::kFrame:
      AddFrame(client_, control.rect);
      break;
    case layouts::ControlKind::kTable:
    case layouts::ControlKind::kPane:
      if (QWidget* own = makeOwnControl ? makeOwnControl(control, client_) : nullptr) {
        own->setObjectName(IdName(control.id));
      }
      break;
  }
}

template <typename Control>
Control* QtDialogView::Find(int id) const {
  return client_->findChild<Control*>(IdName(id));
}

void QtDialogView::SetDefaultButton(int id) { defaultButton_ = Find<BitmapButton>(id); }

void QtDialogView::SetTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

void QtDialogView::SetBackground(const std::string& bitmapPath) {
  client_->SetPicture(LoadBitmapFile(bitmapPath));
}

void QtDialogView::SetButtonLook(int id, const ButtonLook& look) {
  if (auto* button = Find<BitmapButton>(id)) button->SetLook(look);
}

void QtDialogView::SetText(int id, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (auto* label = Find<QLabel>(id)) {
    label->setText(shown);
  } else if (auto* button = Find<QAbstractButton>(id)) {
    button->setText(shown);
  }
}

void QtDialogView::SetProgress(int id, int position) {
  if (auto* bar = Find<QProgressBar>(id)) bar->setValue(position);
}

void QtDialogView::EnableControl(int id, bool enabled) {
  if (auto* control = Find<QWidget>(id)) control->setEnabled(enabled);
}

void QtDialogView::EnableMenuItem(int id, bool enabled) {
  if (const auto item = menuItems_.find(id); item != menuItems_.end()) {
    item->second->setEnabled(enabled);
  }
}

void QtDialogView::Show() {
  show();
  raise();
  activateWindow();
}

// QDialog::hide() would end a running modal loop; a hidden window of this program keeps its loop
// (the main window waits hidden while the preview runs), so only the widget is hidden.
void QtDialogView::Hide() { QWidget::setVisible(false); }

void QtDialogView::Invalidate() {
  update();
  client_->update();
  // Qt merges paint requests and paints only what is visible; the window's paint logic must
  // still run once for every request, hidden or not.
  QMetaObject::invokeMethod(this, [this] { events_.OnPaint(); }, Qt::QueuedConnection);
}

DialogResult QtDialogView::RunModal() {
  // An event loop of our own rather than exec(): QDialog ends exec() whenever the dialog is
  // hidden, and these windows are hidden and shown again while they run.
  QEventLoop loop;
  loop_ = &loop;
  setWindowModality(Qt::ApplicationModal);
  Show();
  const int result = loop.exec(QEventLoop::DialogExec);
  loop_ = nullptr;
  return result == static_cast<int>(DialogResult::kOk) ? DialogResult::kOk
                                                       : DialogResult::kCancel;
}

void QtDialogView::EndModal(DialogResult result) {
  if (!loop_) return;
  Hide();
  loop_->exit(static_cast<int>(result));
}

void QtDialogView::keyPressEvent(QKeyEvent* event) {
  // Escape and F1 belong to the window's logic; the dialog's own handling would end the dialog
  // on Escape.
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F1) {
    events_.OnKey(event->key() == Qt::Key_Escape ? Key::kEscape : Key::kF1);
    event->accept();
    return;
  }
  // Buttons take Enter themselves; here it comes from a control that has no use for it.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && defaultButton_ && defaultButton_->isEnabled() && defaultButton_->isVisible()) {
    defaultButton_->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void QtDialogView::closeEvent(QCloseEvent* event) {
  event->ignore();
  events_.OnClose();
}

// Enter on a default button and similar ways to reject go nowhere: the logic decides when the
// window ends.
void QtDialogView::reject() {}

}  // namespace tarnwick::qt
