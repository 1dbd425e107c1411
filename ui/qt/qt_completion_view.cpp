#include "qt_completion_view.h"

#include "control_ids.h"
#include "dialog_controls.h"
#include "skinned_area.h"

namespace tarnwick::qt {

QtCompletionView::QtCompletionView(WindowEvents& events)
    : QtDialogView(events, 186, 73, QString()) {
  QWidget* area = ClientArea();
  AddLabel(area, 0, QStringLiteral("Process completed successfully."), {38, 25, 109, 10});
  AddFrame(area, {9, 0, 164, 50});
  AddCommandButton(ids::kCompletionOk, QStringLiteral("OK"), {72, 55, 40, 14});
  SetDefaultButton(ids::kCompletionOk);
}

}  // namespace tarnwick::qt
