#include "about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "dialog_layouts.h"

namespace tarnwick::qt {

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("about"));
  setWindowTitle(QStringLiteral(TW_ABOUT_CAPTION));
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(QStringLiteral(TW_ABOUT_PROGRAM_NAME), this);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  name->setFont(bold);
  layout->addWidget(name);
  layout->addWidget(new QLabel(QStringLiteral("Version ") + QStringLiteral(TARNWICK_VERSION), this));
  layout->addWidget(new QLabel(QStringLiteral(TW_ABOUT_DESCRIPTION), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace tarnwick::qt
