#include "job_dialog.h"

#include "app_texts.h"
#include "window_helpers.h"

namespace tarnwick {

JobDialog::JobDialog(AppContext& app, Controls controls) : app_(app), controls_(controls) {}

DialogResult JobDialog::RunJob(std::unique_ptr<DialogView> view, const std::string& background) {
  view_ = std::move(view);
  view_->SetBackground(app_.settings.Bitmap(background));
  view_->SetButtonLook(controls_.stop,
                       SingleBitmapButton(app_.settings, "stop.bmp", ui::kStop, ui::kStop));
  paused_ = false;
  ShowPauseButton();
  title_ = ShowWindowTitle(app_.desktop.titles, app_.settings, *view_);
  shownPosition_ = -1;
  stopped_ = false;
  workerEnded_ = false;
  app_.jobSwitch.Reset();
  workerThread_ = app_.desktop.workers.Start([this] {
    Work();
    workerEnded_ = true;
    app_.desktop.windowThread.Post([this] {
      if (view_) OnJobFinished();
    });
  });

  const DialogResult result = view_->RunModal();
  EndWorker();
  title_.reset();
  view_.reset();
  return result;
}

void JobDialog::EndWorker() {
  if (!workerThread_) return;
  app_.jobSwitch.Stop();
  workerThread_->Join();
  workerThread_.reset();
}

bool JobDialog::AskHoldingWorker(const std::string& question) {
  app_.jobSwitch.Pause();
  const bool yes = AskQuestion(app_.desktop.messageBoxes, view_.get(), question);
  if (!yes && !paused_) app_.jobSwitch.Resume();
  return yes;
}

void JobDialog::StopJob() {
  stopped_ = true;
  app_.jobSwitch.Stop();
}

void JobDialog::TogglePause() {
  paused_ = !paused_;
  if (paused_) {
    app_.jobSwitch.Pause();
  } else {
    app_.jobSwitch.Resume();
  }
  ShowPauseButton();
}

void JobDialog::ShowPauseButton() {
  const char* caption = paused_ ? ui::kResume : ui::kPause;
  view_->SetButtonLook(
      controls_.pause,
      SingleBitmapButton(app_.settings, paused_ ? "resume.bmp" : "pause.bmp", caption, caption));
}

void JobDialog::OnWorker(const std::function<void(DialogView&)>& update) {
  app_.desktop.windowThread.CallFromWorker([&] {
    if (view_) update(*view_);
  });
}

void JobDialog::TellUntoldFailure() {
  if (!app_.engine.FailureUntold()) return;
  app_.desktop.windowThread.CallFromWorker(
      [&] { ShowWarning(app_.desktop.messageBoxes, nullptr, app_.engine.FailureText()); });
}

void JobDialog::SetProgressPosition(int position) {
  if (position == shownPosition_) return;
  shownPosition_ = position;
  OnWorker([&](DialogView& view) { view.SetProgress(controls_.progress, position); });
}

void JobDialog::RepaintDialog() {
  OnWorker([](DialogView& view) { view.Invalidate(); });
}

void JobDialog::SetStepLabel(const std::string& label) {
  OnWorker([&](DialogView& view) { view.SetText(controls_.stepLabel, label); });
}

}  // namespace tarnwick
