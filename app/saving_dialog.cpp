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

CFileSave::CFileSave(AppContext& app) : app_(app) {}

CFileSave::~CFileSave() { EndWorker(); }

void CFileSave::EndWorker() {
  if (!saveThread_) return;
  app_.jobSwitch.Stop();
  saveThread_->Join();
  saveThread_.reset();
}

DialogResult CFileSave::DoModal() {
  view_ = app_.views.CreateSavingView(*this);
  app_.Job().savingDialog = this;
  view_->SetBackground(app_.Bitmap("SaveFile.bmp"));
  view_->SetButtonLook(ids::kSavingStop,
                       SingleBitmapButton(app_, "stop.bmp", ui::kStop, ui::kStop));
  app_.saving.savePaused = false;
  ShowPauseButton();
  title_ = ShowWindowTitle(app_, *view_);
  // Each run counts and judges only its own files.
  app_.saving.saveCounter = 0;
  app_.saving.saveAborted = false;
  saveFinished_ = false;
  stopping_ = false;
  incompleteCopies_.clear();
  shownPosition_ = -1;
  app_.jobSwitch.Reset();
  saveThread_ = app_.desktop.workers.Start([this] { SaveWorker(); });

  const DialogResult result = view_->RunModal();
  EndWorker();
  title_.reset();
  view_.reset();
  return result;
}

void CFileSave::OnWorker(const std::function<void(DialogView&)>& update) {
  app_.desktop.windowThread.CallFromWorker([&] {
    if (view_) update(*view_);
  });
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
  if (!saved) TellUntoldFailure(app_);
  if (saved && job.saveAll) {
    if (const std::optional<std::string> notice = RecoveryNotice(app_.engine.Outcome())) {
      incompleteCopies_ += '\n' + path + ": " + *notice;
    }
  }
  return saved;
}

void CFileSave::SaveWorker() {
  SavingShared& saving = app_.saving;
  const RepairJobState& job = app_.Job();
  saving.saveCounter = 1;
  OnWorker([](DialogView& view) { view.SetProgress(ids::kOverallProgress, 0); });
  if (job.saveAll) {
    const int fileCount = app_.fileList.NodeCount();
    bool allSaved = true;
    for (const FileListNode* node = app_.fileList.head.get(); node; node = node->next.get()) {
      if (!app_.jobSwitch.ContinueJob()) {
        allSaved = false;
        break;
      }
      // Every file is attempted; one that was not saved spoils the run's result.
      allSaved &=
          SaveFile(node->path, std::to_string(saving.saveCounter), std::to_string(fileCount));
      const int overall = fileCount > 0 ? 100 / fileCount * saving.saveCounter : 0;
      if (overall < 100) {
        OnWorker([&](DialogView& view) { view.SetProgress(ids::kOverallProgress, overall); });
      }
      ++saving.saveCounter;
    }
    if (allSaved) {
      WaitAfterSaving();
    } else {
      saving.saveAborted = true;
    }
  } else if (job.saveCurrent) {
    const FileListNode* current = app_.fileList.Current();
    if (current && SaveFile(current->path, ui::kSingleFileCount, ui::kSingleFileCount)) {
      WaitAfterSaving();
    }
  }
  saveFinished_ = true;
  app_.desktop.windowThread.Post([this] {
    if (view_) view_->Invalidate();
  });
}

void CFileSave::WaitAfterSaving() {
  OnWorker([](DialogView& view) { view.SetProgress(ids::kOverallProgress, 100); });
  for (int waited = 0; waited < kWaitAfterSavingMs && app_.jobSwitch.ContinueJob();
       waited += kWaitSliceMs) {
    app_.desktop.workers.Sleep(kWaitSliceMs);
  }
}

void CFileSave::FinishSaving() {
  if (!saveFinished_.exchange(false)) return;
  // A stopped job's unfinished copy went with its output file; the name it was meant for is as
  // it was before the run.
  if (stopping_) EndProgram(app_);
  PreviewShared& preview = app_.preview;
  if (preview.returnToPreview) {
    preview.returnToPreview = false;
    view_->EndModal(DialogResult::kCancel);
    return;
  }
  view_->Hide();
  if (preview.previewWindow) preview.previewWindow->Hide();
  if (app_.saving.saveAborted) {
    ShowNotice(app_, nullptr, ui::kSavingAborted);
    EndProgram(app_);
  }
  // The worker is done with the list: saveFinished_ was set after its last change.
  if (!incompleteCopies_.empty()) {
    ShowNotice(app_, nullptr, std::string(ui::kIncompleteCopies) + incompleteCopies_);
  }
  CViewLog completion(app_);
  completion.DoModal();
  view_->Show();
}

void CFileSave::OnCommand(int id) {
  if (id == ids::kSavingStop) StopSaving(StopWay::kStopButton);
  if (id == ids::kSavingPause) TogglePauseSaving();
}

bool CFileSave::OnKey(Key key) {
  if (key == Key::kEscape) StopSaving(StopWay::kEscape);
  return key == Key::kEscape;
}

void CFileSave::TogglePauseSaving() {
  bool& paused = app_.saving.savePaused;
  paused = !paused;
  if (paused) {
    app_.jobSwitch.Pause();
  } else {
    app_.jobSwitch.Resume();
  }
  ShowPauseButton();
}

void CFileSave::ShowPauseButton() {
  const bool paused = app_.saving.savePaused;
  const char* caption = paused ? ui::kResume : ui::kPause;
  view_->SetButtonLook(
      ids::kSavingPause,
      SingleBitmapButton(app_, paused ? "resume.bmp" : "pause.bmp", caption, caption));
}

void CFileSave::StopSaving(StopWay way) {
  if (stopping_) return;
  const char* question = way == StopWay::kStopButton ? ui::kSavingStopQuestion
                         : way == StopWay::kCloseBox ? ui::kSavingCloseQuestion
                                                     : ui::kSavingEscapeExitQuestion;
  app_.jobSwitch.Pause();
  if (!AskQuestion(app_, view_.get(), question)) {
    if (!app_.saving.savePaused) app_.jobSwitch.Resume();
    return;
  }
  if (way != StopWay::kStopButton) {
    AppendToLog(app_, "\r\n");
    AppendToLog(app_, "\r\n");
    AppendToLog(app_, ui::kAbortedBanner);
  }
  // The job closes its files at its next safe point; the worker's last paint ends the program.
  stopping_ = true;
  app_.jobSwitch.Stop();
}

void CFileSave::SetProgressPosition(int position) {
  if (position == shownPosition_) return;
  shownPosition_ = position;
  OnWorker([&](DialogView& view) { view.SetProgress(ids::kCurrentProgress, position); });
}

void CFileSave::RepaintDialog() {
  OnWorker([](DialogView& view) { view.Invalidate(); });
}

void CFileSave::SetStepLabel(const std::string& label) {
  OnWorker([&](DialogView& view) { view.SetText(ids::kSavingStepLabel, label); });
}

}  // namespace tarnwick
