#include "saving_dialog.h"

#include "activity_log.h"
#include "app_texts.h"
#include "completion_dialog.h"
#include "control_ids.h"
#include "recovery_notice.h"
#include "window_helpers.h"

namespace tarnwick {
namespace {

constexpr int kWaitAfterSavingMs = 10'000;
constexpr int kWaitSliceMs = 100;

}  // namespace

CFileSave::CFileSave(AppContext& app)
    : JobDialog(app, {.stop = ids::kSavingStop,
                      .pause = ids::kSavingPause,
                      .progress = ids::kCurrentProgress,
                      .stepLabel = ids::kSavingStepLabel}) {}

CFileSave::~CFileSave() {
  EndWorker();
  if (app_.Job().savingDialog == this) app_.Job().savingDialog = nullptr;
}

DialogResult CFileSave::DoModal(DialogView& opener) {
  app_.Job().savingDialog = this;
  opener_ = &opener;
  // Each run judges only its own files.
  saveAborted_ = false;
  failureSummary_.clear();
  incompleteCopies_.clear();
  return RunJob(app_.views.CreateSavingView(*this), "SaveFile.bmp");
}

bool CFileSave::SaveFile(const std::string& path, const std::string& number,
                         const std::string& count) {
  const RepairJobState& job = app_.Job();
  const std::string folder = FolderOf(job.destinationFolder);
  OnWorker([&](DialogView& view) {
    view.SetText(ids::kSavingFileName, path);
    view.SetText(ids::kSavingFolder, folder);
    view.SetText(ids::kSavingFileIndex, number);
    view.SetText(ids::kFileNumber, count);
  });
  const bool saved = app_.engine.RepairFile(path);
  if (!saved) TellUntoldFailure();
  if (saved && job.saveAll) {
    if (const std::optional<std::string> notice = RecoveryNotice(app_.engine.Outcome())) {
      incompleteCopies_ += '\n' + path + ": " + *notice;
    }
  }
  return saved;
}

void CFileSave::Work() {
  const RepairJobState& job = app_.Job();
  OnWorker([](DialogView& view) { view.SetProgress(ids::kOverallProgress, 0); });
  if (job.saveAll) {
    const int fileCount = app_.fileList.NodeCount();
    int number = 1;
    int saved = 0;
    bool failed = false;
    for (const FileListNode* node = app_.fileList.head.get(); node;
         node = node->next.get(), ++number) {
      if (!app_.jobSwitch.ContinueJob()) break;
      // Every file is attempted, except after a copy could not be written: the next ones go
      // into the same folder, and each would only fail and say so again.
      if (SaveFile(node->path, std::to_string(number), std::to_string(fileCount))) {
        ++saved;
      } else {
        const RepairStatus status = app_.engine.Outcome().status;
        failed |= status != RepairStatus::kDeclinedOverwrite && status != RepairStatus::kStopped;
        if (status == RepairStatus::kOutputNotWritable) break;
      }
      const int overall = fileCount > 0 ? 100 / fileCount * number : 0;
      if (overall < 100) {
        OnWorker([&](DialogView& view) { view.SetProgress(ids::kOverallProgress, overall); });
      }
    }
    if (saved == fileCount) {
      WaitAfterSaving();
    } else {
      saveAborted_ = true;
      if (failed) {
        failureSummary_ = std::string(ui::kSavingFailed) + std::to_string(saved) + " of " +
                          std::to_string(fileCount) + " files were saved.";
      }
    }
  } else if (job.saveCurrent) {
    const FileListNode* current = app_.fileList.Current();
    if (current && SaveFile(current->path, ui::kSingleFileCount, ui::kSingleFileCount)) {
      WaitAfterSaving();
    }
  }
}

void CFileSave::WaitAfterSaving() {
  OnWorker([](DialogView& view) { view.SetProgress(ids::kOverallProgress, 100); });
  for (int waited = 0; waited < kWaitAfterSavingMs && app_.jobSwitch.ContinueJob();
       waited += kWaitSliceMs) {
    app_.desktop.workers.Sleep(kWaitSliceMs);
  }
}

void CFileSave::OnJobFinished() {
  // A stopped job's unfinished copy went with its output file; the name it was meant for is as
  // it was before the run.
  if (JobStopped()) EndProgram(app_);
  if (app_.Job().saveCurrent) {
    view_->EndModal(DialogResult::kCancel);
    return;
  }
  view_->Hide();
  opener_->Hide();
  if (saveAborted_) {
    ShowNotice(app_.desktop.messageBoxes, nullptr,
               failureSummary_.empty() ? ui::kSavingAborted : failureSummary_);
    EndProgram(app_);
  }
  if (!incompleteCopies_.empty()) {
    ShowNotice(app_.desktop.messageBoxes, nullptr,
               std::string(ui::kIncompleteCopies) + incompleteCopies_);
  }
  CViewLog completion(app_);
  completion.DoModal();
  view_->Show();
}

void CFileSave::OnCommand(int id) {
  if (id == ids::kSavingStop) StopSaving(StopWay::kStopButton);
  if (id == ids::kSavingPause) TogglePause();
}

bool CFileSave::OnKey(Key key) {
  if (key == Key::kEscape) StopSaving(StopWay::kEscape);
  return key == Key::kEscape;
}

void CFileSave::StopSaving(StopWay way) {
  if (JobStopped()) return;
  const char* question = way == StopWay::kStopButton ? ui::kSavingStopQuestion
                         : way == StopWay::kCloseBox ? ui::kSavingCloseQuestion
                                                     : ui::kSavingEscapeExitQuestion;
  if (!AskHoldingWorker(question)) return;
  if (way != StopWay::kStopButton) {
    AppendToLog(app_, "\r\n");
    AppendToLog(app_, "\r\n");
    AppendToLog(app_, ui::kAbortedBanner);
  }
  // The worker's finishing step then ends the program.
  StopJob();
}

}  // namespace tarnwick
