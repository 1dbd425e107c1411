#include "analysis_dialog.h"

#include "app_texts.h"
#include "control_ids.h"
#include "window_helpers.h"

namespace tarnwick {

CProgressBar::CProgressBar(AppContext& app) : app_(app) {}

CProgressBar::~CProgressBar() { EndWorker(); }

void CProgressBar::EndWorker() {
  if (!workerThread_) return;
  app_.jobSwitch.Stop();
  workerThread_->Join();
  workerThread_.reset();
}

DialogResult CProgressBar::DoModal() {
  view_ = app_.views.CreateAnalysisView(*this);
  app_.Job().analysisDialog = this;
  view_->SetButtonLook(ids::kAnalysisStop,
                       SingleBitmapButton(app_, "stop.bmp", ui::kStop, ui::kStop));
  paused_ = false;
  ShowPauseButton();
  view_->SetBackground(app_.Bitmap("ProgressBar.bmp"));
  workerResult_ = false;
  workerDone_ = false;
  workerEnded_ = false;
  exitWhenStopped_ = false;
  shownPosition_ = -1;
  stopped_ = false;
  title_ = ShowWindowTitle(app_, *view_);
  app_.jobSwitch.Reset();
  workerThread_ = app_.desktop.workers.Start([this] { AnalysisWorker(); });

  const DialogResult result = view_->RunModal();
  workerThread_->Join();
  workerThread_.reset();
  title_.reset();
  view_.reset();
  return result;
}

void CProgressBar::AnalysisWorker() {
  const FileListNode* current = app_.fileList.Current();
  const std::string path = current ? current->path : std::string();
  workerResult_ = current && app_.engine.RepairFile(path);
  if (current && !workerResult_) TellUntoldFailure(app_);
  workerEnded_ = true;
  workerDone_ = true;
  app_.desktop.windowThread.Post([this] {
    if (view_) view_->Invalidate();
  });
}

void CProgressBar::OnPaint() {
  if (exitWhenStopped_ && workerEnded_) EndProgram(app_);
  if (!workerDone_.exchange(false)) return;
  // A stopped repair still ends with OK; jobDone, clear, tells the caller it did not finish.
  view_->EndModal(stopped_ || workerResult_ ? DialogResult::kOk : DialogResult::kCancel);
}

void CProgressBar::OnCommand(int id) {
  if (id == ids::kAnalysisStop) StopAnalysis();
  if (id == ids::kAnalysisPause) TogglePause();
}

bool CProgressBar::AskHoldingWorker(WindowHandle* owner, const std::string& question) {
  app_.jobSwitch.Pause();
  const bool yes = AskQuestion(app_, owner, question);
  if (!yes && !paused_) app_.jobSwitch.Resume();
  return yes;
}

void CProgressBar::StopAnalysis() {
  if (stopped_ || !AskHoldingWorker(view_.get(), ui::kStopAnalysisQuestion)) return;
  // The engine closes both files at its next safe point and the worker returns; its paint then
  // ends the dialog.
  stopped_ = true;
  app_.jobSwitch.Stop();
}

bool CProgressBar::OnKey(Key key) {
  if (key == Key::kEscape && AskHoldingWorker(view_.get(), ui::kQuickExitQuestion)) {
    // The program ends once the job has stopped and closed its files: a copy still open for
    // writing could not be removed everywhere, and its folder would stay behind.
    exitWhenStopped_ = true;
    stopped_ = true;
    app_.jobSwitch.Stop();
    if (workerEnded_) EndProgram(app_);
  }
  return key == Key::kEscape;
}

void CProgressBar::TogglePause() {
  paused_ = !paused_;
  if (paused_) {
    app_.jobSwitch.Pause();
  } else {
    app_.jobSwitch.Resume();
  }
  ShowPauseButton();
}

void CProgressBar::ShowPauseButton() {
  const char* caption = paused_ ? ui::kResume : ui::kPause;
  view_->SetButtonLook(
      ids::kAnalysisPause,
      SingleBitmapButton(app_, paused_ ? "resume.bmp" : "pause.bmp", caption, caption));
}

void CProgressBar::SetProgressPosition(int position) {
  if (position == shownPosition_) return;
  shownPosition_ = position;
  app_.desktop.windowThread.CallFromWorker([&] {
    if (view_) view_->SetProgress(ids::kAnalysisProgress, position);
  });
}

void CProgressBar::RepaintDialog() {
  app_.desktop.windowThread.CallFromWorker([&] {
    if (view_) view_->Invalidate();
  });
}

void CProgressBar::SetStepLabel(const std::string& label) {
  app_.desktop.windowThread.CallFromWorker([&] {
    if (view_) view_->SetText(ids::kAnalysisStepLabel, label);
  });
}

}  // namespace tarnwick
