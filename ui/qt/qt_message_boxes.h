#pragma once

#include "message_boxes.h"

namespace tarnwick::qt {

// Message boxes as QMessageBox, shown modally on the window thread. A system-modal box blocks
// the whole application and stays above every other window.
class QtMessageBoxes final : public MessageBoxes {
 public:
  MessageAnswer Show(const MessageBoxRequest& request) override;
};

}  // namespace tarnwick::qt
