#pragma once

#include "qt_dialog_view.h"

namespace tarnwick::qt {

// The saving dialog: the file being saved, the count, the destination, the current and overall
// progress, Stop and Pause.
class QtSavingView final : public QtDialogView {
 public:
  explicit QtSavingView(WindowEvents& events);
};

}  // namespace tarnwick::qt
