#include "help_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app_texts.h"
#include "focus_ring.h"

namespace tarnwick::qt {
namespace {

QPushButton* AddNavigationButton(QLayout* row, const QString& text, const QString& name) {
  auto* button = new QPushButton(text);
  button->setObjectName(name);
  button->setEnabled(false);
  row->addWidget(button);
  return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window),
      browser_(new QTextBrowser(this)),
      findBar_(new QWidget(this)),
      findField_(new QLineEdit(findBar_)) {
  setObjectName(QStringLiteral("help"));
  setWindowTitle(QString::fromUtf8(ui::kHelpWindowTitle));
  resize(720, 640);

  auto* navigation = new QHBoxLayout;
  QPushButton* back = AddNavigationButton(navigation, QStringLiteral("&Back"), "back");
  QPushButton* forward = AddNavigationButton(navigation, QStringLiteral("&Forward"), "forward");
  navigation->addStretch();
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

  // Links to other sites go to the desktop; those within the document stay here.
  browser_->setOpenExternalLinks(true);

  auto* findRow = new QHBoxLayout(findBar_);
  findRow->setContentsMargins(0, 0, 0, 0);
  auto* findLabel = new QLabel(QStringLiteral("F&ind:"), findBar_);
  findLabel->setBuddy(findField_);
  findField_->setObjectName(QStringLiteral("find"));
  findField_->setClearButtonEnabled(true);
  findRow->addWidget(findLabel);
  findRow->addWidget(findField_);
  findBar_->hide();
  connect(findField_, &QLineEdit::returnPressed, this, &HelpWindow::FindNext);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(navigation);
  layout->addWidget(browser_);
  layout->addWidget(findBar_);

  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
          &HelpWindow::OpenFind);
  connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this,
          &HelpWindow::FindNext);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &HelpWindow::CloseFindOrWindow);
  new FocusRing(this);
}

void HelpWindow::CloseFindOrWindow() {
  if (!findBar_->isVisible()) {
    close();
    return;
  }
  findBar_->hide();
  browser_->setFocus();
}

void HelpWindow::ShowDocument(const QString& path) {
  browser_->setSource(QUrl::fromLocalFile(path));
}

void HelpWindow::OpenFind() {
  findBar_->show();
  findField_->setFocus(Qt::ShortcutFocusReason);
  findField_->selectAll();
}

void HelpWindow::FindNext() {
  const QString text = findField_->text();
  if (text.isEmpty()) return;
  if (browser_->find(text)) return;
  QTextCursor top = browser_->textCursor();
  top.movePosition(QTextCursor::Start);
  browser_->setTextCursor(top);
  browser_->find(text);
}

}  // namespace tarnwick::qt
