#include "about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app_texts.h"

namespace tarnwick::qt {

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("about"));
  setWindowTitle(QStringLiteral("About ") + QString::fromUtf8(ui::kMessageCaption));
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(QString::fromUtf8(ui::kMessageCaption), this);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  name->setFont(bold);
  layout->addWidget(name);
  layout->addWidget(new QLabel(QStringLiteral("Version ") + QStringLiteral(TARNWICK_VERSION), this));
  layout->addWidget(new QLabel(
      QStringLiteral("Rebuilds damaged PDF files into readable copies and saves them."), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace tarnwick::qt
