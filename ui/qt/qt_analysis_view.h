#pragma once

#include "qt_dialog_view.h"

namespace tarnwick::qt {

// The analysis dialog: step label, progress bar, Stop and Pause.
class QtAnalysisView final : public QtDialogView {
 public:
  explicit QtAnalysisView(WindowEvents& events);
};

}  // namespace tarnwick::qt
