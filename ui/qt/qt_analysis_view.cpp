#include "qt_analysis_view.h"

namespace tarnwick::qt {

QtAnalysisView::QtAnalysisView(WindowEvents& events)
    : QtDialogView(events, layouts::kAnalysis) {}

}  // namespace tarnwick::qt
