#include "analysis_dialog.h"

#include "app_texts.h"
#include "control_ids.h"
#include "window_helpers.h"
#include "work_files.h"

namespace tarnwick {

CProgressBar::CProgressBar(AppContext& app)
    : JobDialog(app, {.stop = ids::kAnalysisStop,
                      .pause = ids::kAnalysisPause,
                      .progress = ids::kAnalysisProgress,
                      .stepLabel = ids::kAnalysisStepLabel}) {}

CProgressBar::~CProgressBar() { EndWorker(); }

DialogResult CProgressBar::DoModal() {
  app_.Job().analysisDialog = this;
  workerResult_ = false;
  exitWhenStopped_ = false;
  return RunJob(app_.views.CreateAnalysisView(*this), "ProgressBar.bmp");
}

void CProgressBar::Work() {
  const FileListNode* current = app_.fileList.Current();
  const std::string path = current ? current->path : std::string();
  workerResult_ = current && app_.engine.RepairFile(path);
  if (current && !workerResult_) TellUntoldFailure();
}

void CProgressBar::OnJobFinished() {
  if (exitWhenStopped_) EndProgram(app_);
  if (!app_.Job().jobDone) RemoveEmptyWorkFolder(app_, app_.Job().outputPath);
  // A stopped repair still ends with OK; jobDone, clear, tells the caller it did not finish.
  view_->EndModal(JobStopped() || workerResult_ ? DialogResult::kOk : DialogResult::kCancel);
}

void CProgressBar::OnCommand(int id) {
  if (id == ids::kAnalysisStop) StopAnalysis();
  if (id == ids::kAnalysisPause) TogglePause();
}

void CProgressBar::StopAnalysis() {
  if (JobStopped() || !AskHoldingWorker(ui::kStopAnalysisQuestion)) return;
  StopJob();
}

bool CProgressBar::OnKey(Key key) {
  if (key == Key::kEscape && AskHoldingWorker(ui::kQuickExitQuestion)) {
    // The program ends once the job has stopped and closed its files: a copy still open for
    // writing could not be removed everywhere, and its folder would stay behind. A worker that
    // had ended may have been finished already while the question was open.
    exitWhenStopped_ = true;
    StopJob();
    if (WorkerEnded()) EndProgram(app_);
  }
  return key == Key::kEscape;
}

}  // namespace tarnwick
