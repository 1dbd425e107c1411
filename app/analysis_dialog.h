#pragma once

#include "job_dialog.h"

namespace tarnwick {

// The analysis dialog: repairs the current file of the file list on a worker while the user
// watches, pauses or stops it. One object serves the whole run; each DoModal opens a new window.
class CProgressBar final : public JobDialog {
 public:
  explicit CProgressBar(AppContext& app);
  // A worker still running (the program ended under it) is stopped and waited for.
  ~CProgressBar() override;

  // OK when the repair returned true or the user stopped it; Cancel when it returned false.
  DialogResult DoModal();

  void OnCommand(int id) override;
  void OnClose() override { StopAnalysis(); }
  bool OnKey(Key key) override;

  void StopAnalysis();

 private:
  void Work() override;
  void OnJobFinished() override;

  bool workerResult_ = false;
  bool exitWhenStopped_ = false;
};

}  // namespace tarnwick
