#pragma once

#include <string>
#include <utility>

#include "desktop.h"
#include "job_interfaces.h"

namespace tarnwick {

// The engine's notices and questions, asked from its worker on the window thread. They have no
// owner window; questions are system-modal with a question-mark icon.
class JobMessageBoxes final : public JobMessages {
 public:
  JobMessageBoxes(Desktop& desktop, std::string noticeCaption)
      : desktop_(desktop), noticeCaption_(std::move(noticeCaption)) {}

  void Notice(const std::string& text) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;

 private:
  MessageAnswer Ask(const MessageBoxRequest& request);

  Desktop& desktop_;
  std::string noticeCaption_;
};

}  // namespace tarnwick
