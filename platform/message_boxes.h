#pragma once

#include <string>

#include "window_handle.h"

namespace tarnwick {

enum class MessageButtons { kOk, kYesNo };
enum class MessageIcon { kNone, kInformation, kQuestion, kWarning };
enum class MessageAnswer { kOk, kYes, kNo };

struct MessageBoxRequest {
  std::string text;
  std::string caption;
  MessageButtons buttons = MessageButtons::kOk;
  MessageIcon icon = MessageIcon::kNone;
  bool systemModal = false;
  WindowHandle* owner = nullptr;  // none: the box stands on its own
  bool operator==(const MessageBoxRequest&) const = default;
};

// Modal message boxes, shown on the window thread.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(const MessageBoxRequest& request) = 0;
};

}  // namespace tarnwick
