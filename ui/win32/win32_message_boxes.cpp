#include "win32_message_boxes.h"

#include "win32_text.h"
#include "win32_window.h"

namespace tarnwick::win32 {
namespace {

UINT IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return MB_ICONINFORMATION;
    case MessageIcon::kQuestion:
      return MB_ICONQUESTION;
    case MessageIcon::kWarning:
      return MB_ICONWARNING;
    case MessageIcon::kNone:
      break;
  }
  return 0;
}

UINT ModalityStyle(bool systemModal, HWND owner) {
  if (systemModal) return MB_SYSTEMMODAL;
  return owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
}

}  // namespace

MessageAnswer Win32MessageBoxes::Show(const MessageBoxRequest& request) {
  const bool yesNo = request.buttons == MessageButtons::kYesNo;
  const HWND owner = HandleOf(request.owner);
  const UINT style = (yesNo ? MB_YESNO : MB_OK) | IconStyle(request.icon) |
                     ModalityStyle(request.systemModal, owner) | MB_SETFOREGROUND;
  const int answer = MessageBoxW(owner, Wide(request.text).c_str(),
                                 Wide(request.caption).c_str(), style);
  if (!yesNo) return MessageAnswer::kOk;
  return answer == IDYES ? MessageAnswer::kYes : MessageAnswer::kNo;
}

}  // namespace tarnwick::win32
