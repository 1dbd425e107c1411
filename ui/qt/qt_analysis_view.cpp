#include "qt_analysis_view.h"

#include "control_ids.h"
#include "dialog_controls.h"
#include "skinned_area.h"

namespace tarnwick::qt {

QtAnalysisView::QtAnalysisView(WindowEvents& events)
    : QtDialogView(events, 214, 97, QStringLiteral("Analysis")) {
  QWidget* area = ClientArea();
  AddCommandButton(ids::kAnalysisStop, QStringLiteral("Stop"), {50, 73, 55, 14});
  AddCommandButton(ids::kAnalysisPause, QStringLiteral("Pause"), {109, 74, 55, 14});
  AddLabel(area, 0, QStringLiteral("Analysis is in Progress, Please  wait ....."),
           {57, 24, 128, 8});
  AddLabel(area, ids::kAnalysisStepLabel, QStringLiteral("Static"), {20, 24, 36, 8});
  AddProgressBar(area, ids::kAnalysisProgress, {20, 36, 171, 12});
  AddFrame(area, {13, 8, 186, 60});
}

}  // namespace tarnwick::qt
