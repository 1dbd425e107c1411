#include "qt_saving_view.h"

namespace tarnwick::qt {

QtSavingView::QtSavingView(WindowEvents& events) : QtDialogView(events, layouts::kSaving) {}

}  // namespace tarnwick::qt
