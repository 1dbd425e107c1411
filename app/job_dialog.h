#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app_context.h"

namespace tarnwick {

// A dialog that runs one repair job on a worker while the user watches, pauses or stops it.
// The dialog owns the worker, drives the job switch, forwards the engine's progress to its
// window, and finishes once the worker's last message reaches the window thread. Dialogs built
// on it give their controls, their worker's body and what follows the job.
class JobDialog : public WindowEvents, public ProgressSink {
 public:
  struct Controls {
    int stop;
    int pause;
    int progress;
    int stepLabel;
  };

  JobDialog(AppContext& app, Controls controls);

  // The view paints itself; nothing of the job waits for a paint.
  void OnPaint() override {}

  void TogglePause();

  // Called by the engine on the worker.
  void SetProgressPosition(int position) override;
  void RepaintDialog() override;
  void SetStepLabel(const std::string& label) override;

  DialogView* View() { return view_.get(); }

 protected:
  // Shows the window with its background, runs the job and returns how the window ended.
  DialogResult RunJob(std::unique_ptr<DialogView> view, const std::string& background);
  // The job itself, on the worker.
  virtual void Work() = 0;
  // On the window thread once Work has returned; it ends the window or the program.
  virtual void OnJobFinished() = 0;
  // Stops a worker that still runs and waits for it. Each dialog calls it in its own destructor,
  // while the members its worker uses are still there.
  void EndWorker();

  // Holds the worker while a question is open; it goes on after No unless Pause holds it too.
  bool AskHoldingWorker(const std::string& question);
  // The job closes its files at its next safe point and the worker returns.
  void StopJob();
  bool JobStopped() const { return stopped_; }
  // Set as the worker returns, before its finishing message is queued.
  bool WorkerEnded() const { return workerEnded_; }
  // Runs an update of the window from the worker; nothing happens once the window has gone.
  void OnWorker(const std::function<void(DialogView&)>& update);
  // Run by the worker after its repair job ended early. When the job did not tell the user why
  // (a read or write error, a source that changed under it), the job's failure text, which
  // names the file and the system's reason, is shown with a warning icon; a stop, a declined
  // overwrite and the job's own notices are left alone.
  void TellUntoldFailure();

  AppContext& app_;
  std::unique_ptr<DialogView> view_;

 private:
  void ShowPauseButton();

  const Controls controls_;
  std::unique_ptr<WindowTitles::Claim> title_;
  std::unique_ptr<WorkerThread> workerThread_;
  // The position the bar shows, kept on the worker: the engine reports every chunk, and only a
  // change is worth a call to the window thread.
  int shownPosition_ = -1;
  std::atomic<bool> workerEnded_ = false;
  bool paused_ = false;
  bool stopped_ = false;
};

}  // namespace tarnwick
