#pragma once

#include "message_boxes.h"

namespace tarnwick::win32 {

// Message boxes as MessageBoxW, modal on the window thread. A system-modal box stays above
// every other window; one without an owner blocks all of the program's windows.
class Win32MessageBoxes final : public MessageBoxes {
 public:
  MessageAnswer Show(const MessageBoxRequest& request) override;
};

}  // namespace tarnwick::win32
