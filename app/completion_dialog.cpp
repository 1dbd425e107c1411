#include "completion_dialog.h"

#include "activity_log.h"
#include "app_texts.h"
#include "control_ids.h"
#include "window_helpers.h"
#include "work_files.h"

namespace tarnwick {

CViewLog::CViewLog(AppContext& app) : app_(app) {}

CViewLog::~CViewLog() = default;

DialogResult CViewLog::DoModal() {
  view_ = app_.views.CreateCompletionView(*this);
  view_->SetBackground(app_.settings.Bitmap("ViewLog.bmp"));
  view_->SetButtonLook(ids::kCompletionOk, SingleBitmapButton(app_.settings, "ok.bmp", "OK", "OK"));
  title_ = ShowWindowTitle(app_.desktop.titles, app_.settings, *view_);
  AppendToLog(app_, "\r\n");
  AppendToLog(app_, "\r\n");
  AppendToLog(app_, ui::kCompletedBanner);
  return view_->RunModal();
}

void CViewLog::OnCommand(int id) {
  if (id != ids::kCompletionOk) return;
  CleanUpWorkFiles(app_, CleanUpMode::atExit);
  view_->EndModal(DialogResult::kOk);
  EndProgram(app_);
}

void CViewLog::OnClose() {
  CleanUpWorkFiles(app_, CleanUpMode::atExit);
  EndProgram(app_);
}

bool CViewLog::OnKey(Key key) {
  if (key == Key::kEscape &&
      AskQuestion(app_.desktop.messageBoxes, view_.get(), ui::kSavingEscapeQuestion)) {
    EndProgram(app_);
  }
  return key == Key::kEscape;
}

}  // namespace tarnwick
