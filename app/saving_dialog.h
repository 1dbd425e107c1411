#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "app_context.h"

namespace tarnwick {

// The saving dialog: repairs the current file, or every file of the list, straight into the
// destination folder on a worker, with the file's and the run's progress. One object serves the
// whole run of the program.
class CFileSave final : public WindowEvents, public ProgressSink {
 public:
  enum class StopWay { kStopButton, kCloseBox, kEscape };

  explicit CFileSave(AppContext& app);
  // A worker still running (the program ended under it) is stopped and waited for.
  ~CFileSave() override;

  // Returns Cancel when a Save Current run goes back to the preview; other runs end the program.
  DialogResult DoModal();

  void OnCommand(int id) override;
  void OnClose() override { StopSaving(StopWay::kCloseBox); }
  bool OnKey(Key key) override;
  void OnPaint() override { FinishSaving(); }

  void FinishSaving();
  void TogglePauseSaving();
  void StopSaving(StopWay way);

  // Called by the engine on the worker.
  void SetProgressPosition(int position) override;
  void RepaintDialog() override;
  void SetStepLabel(const std::string& label) override;

  DialogView* View() { return view_.get(); }

 private:
  void SaveWorker();
  // Repairs one file with the labels of the run; false when it was not saved.
  bool SaveFile(const std::string& path, const std::string& number, const std::string& count);
  // The wait after a complete run, ended early by a stop and held by a pause.
  void WaitAfterSaving();
  void OnWorker(const std::function<void(DialogView&)>& update);
  void ShowPauseButton();
  void EndWorker();

  AppContext& app_;
  std::unique_ptr<DialogView> view_;
  std::unique_ptr<WindowTitles::Claim> title_;
  std::unique_ptr<WorkerThread> saveThread_;
  // The current bar's position, kept on the worker: the engine reports every chunk, and only a
  // change is worth a call to the window thread.
  int shownPosition_ = -1;
  std::atomic<bool> saveFinished_ = false;
  bool stopping_ = false;
  // A line per copy of a Save All that lacks pages of its file, each after a line end; written
  // by the worker, read once it has finished.
  std::string incompleteCopies_;
};

}  // namespace tarnwick
