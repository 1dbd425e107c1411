#include "qt_message_boxes.h"

#include <QMessageBox>

#include "widget_handle.h"

namespace tarnwick::qt {
namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer QtMessageBoxes::Show(const MessageBoxRequest& request) {
  const bool yesNo = request.buttons == MessageButtons::kYesNo;
  QMessageBox box(IconOf(request.icon), QString::fromStdString(request.caption),
                  QString::fromStdString(request.text),
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  WidgetOf(request.owner));
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  if (request.systemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  const int answer = box.exec();
  if (!yesNo) return MessageAnswer::kOk;
  return answer == QMessageBox::Yes ? MessageAnswer::kYes : MessageAnswer::kNo;
}

}  // namespace tarnwick::qt
