#include "job_message_boxes.h"

namespace tarnwick {

MessageAnswer JobMessageBoxes::Ask(const MessageBoxRequest& request) {
  MessageAnswer answer = MessageAnswer::kNo;
  desktop_.windowThread.CallFromWorker([&] { answer = desktop_.messageBoxes.Show(request); });
  return answer;
}

void JobMessageBoxes::Notice(const std::string& text) {
  Ask({.text = text, .caption = noticeCaption_, .buttons = MessageButtons::kOk});
}

bool JobMessageBoxes::AskYesNo(const std::string& text, const std::string& caption) {
  return Ask({.text = text,
              .caption = caption,
              .buttons = MessageButtons::kYesNo,
              .icon = MessageIcon::kQuestion,
              .systemModal = true}) == MessageAnswer::kYes;
}

}  // namespace tarnwick
