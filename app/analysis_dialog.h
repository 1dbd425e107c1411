#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "app_context.h"

namespace tarnwick {

// The analysis dialog: repairs the current file of the file list on a worker while the user
// watches, pauses or stops it. One object serves the whole run; each DoModal opens a new window.
class CProgressBar final : public WindowEvents, public ProgressSink {
 public:
  explicit CProgressBar(AppContext& app);
  // A worker still running (the program ended under it) is stopped and waited for.
  ~CProgressBar() override;

  // OK when the repair returned true or the user stopped it; Cancel when it returned false.
  DialogResult DoModal();

  void OnCommand(int id) override;
  void OnClose() override { StopAnalysis(); }
  bool OnKey(Key key) override;
  void OnPaint() override;

  void StopAnalysis();
  void TogglePause();

  // Called by the engine on the worker.
  void SetProgressPosition(int position) override;
  void RepaintDialog() override;
  void SetStepLabel(const std::string& label) override;

  DialogView* View() { return view_.get(); }

 private:
  void AnalysisWorker();
  void ShowPauseButton();
  // Holds the worker while a question is open; it goes on after No unless Pause holds it too.
  bool AskHoldingWorker(WindowHandle* owner, const std::string& question);
  void EndWorker();

  AppContext& app_;
  std::unique_ptr<DialogView> view_;
  std::unique_ptr<WindowTitles::Claim> title_;
  std::unique_ptr<WorkerThread> workerThread_;
  // The position the bar shows, kept on the worker: the engine reports every chunk, and only a
  // change is worth a call to the window thread.
  int shownPosition_ = -1;
  bool workerResult_ = false;
  std::atomic<bool> workerDone_ = false;
  // Set by the worker as it ends and kept until the next job, where workerDone_ is taken by the
  // paint that follows.
  std::atomic<bool> workerEnded_ = false;
  bool paused_ = false;
  bool stopped_ = false;
  bool exitWhenStopped_ = false;
};

}  // namespace tarnwick
