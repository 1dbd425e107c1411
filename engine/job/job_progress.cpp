#include "job_progress.h"

#include "engine_texts.h"

namespace tarnwick {

ProgressSink* JobProgress::Sink() const {
  return state_.saveMode ? state_.savingDialog : state_.analysisDialog;
}

std::string JobProgress::StepLabel(int step) const {
  if (state_.saveMode) return step == 1 ? texts::kStep1Saving : texts::kStep2Saving;
  return step == 1 ? texts::kStep1Analysis : texts::kStep2Analysis;
}

bool JobProgress::SafePoint() {
  if (source_.Failed() || output_.Failed()) return false;
  return control_.ContinueJob();
}

bool JobProgress::Report(int position) {
  if (ProgressSink* sink = Sink()) sink->SetProgressPosition(position);
  return SafePoint();
}

bool JobProgress::StartStep(int step) {
  if (ProgressSink* sink = Sink()) {
    sink->SetProgressPosition(0);
    sink->RepaintDialog();
    sink->SetStepLabel(StepLabel(step));
  }
  return SafePoint();
}

}  // namespace tarnwick
