#include "qt_completion_view.h"

#include "control_ids.h"

namespace tarnwick::qt {

QtCompletionView::QtCompletionView(WindowEvents& events)
    : QtDialogView(events, layouts::kCompletion) {
  SetDefaultButton(ids::kCompletionOk);
}

}  // namespace tarnwick::qt
