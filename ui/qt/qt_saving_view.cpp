#include "qt_saving_view.h"

#include "control_ids.h"
#include "dialog_controls.h"
#include "skinned_area.h"

namespace tarnwick::qt {

// Labels whose template gives only a position get a size that holds their text.
QtSavingView::QtSavingView(WindowEvents& events)
    : QtDialogView(events, 348, 193, QStringLiteral("File Saving")) {
  QWidget* area = ClientArea();
  AddFrame(area, {3, 0, 342, 157});
  AddLabel(area, 0, QStringLiteral("File Name  :"), {25, 13, 40, 10});
  AddLabel(area, ids::kSavingFileName, {}, {66, 14, 268, 16});
  AddLabel(area, 0, QStringLiteral("File Count :"), {25, 35, 40, 10});
  AddLabel(area, ids::kSavingFileIndex, {}, {66, 35, 10, 10});
  AddLabel(area, 0, QStringLiteral("/"), {76, 35, 8, 10});
  AddLabel(area, ids::kFileNumber, {}, {85, 35, 30, 10});
  AddLabel(area, 0, QStringLiteral("File Path   :"), {25, 53, 40, 10});
  AddLabel(area, ids::kSavingFolder, {}, {66, 53, 256, 18});
  AddFrame(area, {25, 77, 280, 31});
  AddLabel(area, 0, QStringLiteral("Current Progress"), {28, 82, 58, 10});
  AddLabel(area, ids::kSavingStepLabel, {}, {89, 83, 60, 8});
  AddProgressBar(area, ids::kCurrentProgress, {64, 95, 221, 10});
  AddFrame(area, {24, 113, 281, 31});
  AddLabel(area, 0, QStringLiteral("Overall Progress"), {28, 118, 58, 10});
  AddProgressBar(area, ids::kOverallProgress, {64, 131, 221, 10});
  AddCommandButton(ids::kSavingStop, QStringLiteral("Stop"), {119, 165, 50, 14});
  AddCommandButton(ids::kSavingPause, QStringLiteral("Pause"), {189, 165, 50, 14});
}

}  // namespace tarnwick::qt
