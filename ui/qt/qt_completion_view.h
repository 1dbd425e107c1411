#pragma once

#include "qt_dialog_view.h"

namespace tarnwick::qt {

// The completion dialog: "Process completed successfully." and OK.
class QtCompletionView final : public QtDialogView {
 public:
  explicit QtCompletionView(WindowEvents& events);
};

}  // namespace tarnwick::qt
