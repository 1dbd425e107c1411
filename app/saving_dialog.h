#pragma once

#include <string>

#include "job_dialog.h"

namespace tarnwick {

// The saving dialog: repairs the current file, or every file of the list, straight into the
// destination folder on a worker, with the file's and the run's progress. One object serves the
// preview window that opens it.
class CFileSave final : public JobDialog {
 public:
  enum class StopWay { kStopButton, kCloseBox, kEscape };

  explicit CFileSave(AppContext& app);
  // A worker still running (the program ended under it) is stopped and waited for.
  ~CFileSave() override;

  // Returns Cancel when a Save Current run goes back to the window it was opened from, which
  // other runs hide before they end the program.
  DialogResult DoModal(DialogView& opener);

  void OnCommand(int id) override;
  void OnClose() override { StopSaving(StopWay::kCloseBox); }
  bool OnKey(Key key) override;

  void StopSaving(StopWay way);

 private:
  void Work() override;
  void OnJobFinished() override;
  // Repairs one file with the labels of the run; false when it was not saved.
  bool SaveFile(const std::string& path, const std::string& number, const std::string& count);
  // The wait after a complete run, ended early by a stop and held by a pause.
  void WaitAfterSaving();

  DialogView* opener_ = nullptr;
  // Set by the worker when a Save All did not save every file; read once it has finished.
  bool saveAborted_ = false;
  // What ends such a run when something else than the user's answers made a file fail.
  std::string failureSummary_;
  // A line per copy of a Save All that lacks pages of its file, each after a line end; written
  // by the worker, read once it has finished.
  std::string incompleteCopies_;
};

}  // namespace tarnwick
