#include "main_window.h"

#include <algorithm>
#include <cctype>

#include "activity_log.h"
#include "analysis_dialog.h"
#include "app_texts.h"
#include "control_ids.h"
#include "help.h"
#include "preview_window.h"
#include "source_doubt.h"
#include "splash_screen.h"
#include "window_helpers.h"
#include "work_files.h"

namespace tarnwick {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

CZazoRavazuDlg::CZazoRavazuDlg(AppContext& app, std::vector<std::string> files)
    : app_(app), givenFiles_(std::move(files)) {}

CZazoRavazuDlg::~CZazoRavazuDlg() = default;

DialogResult CZazoRavazuDlg::DoModal() {
  view_ = app_.views.CreateMainWindowView(*this);
  view_->SetBackground(app_.settings.Bitmap("Browse.bmp"));
  ShowSplash();
  Initialise();
  return view_->RunModal();
}

void CZazoRavazuDlg::Initialise() {
  MainWindowView& view = *view_;
  view.SetButtonLook(ids::kToolbarOpen,
                     HoverBitmapButton(app_.settings, "Open.bmp", "OpenA.bmp", "Open"));
  view.SetButtonLook(ids::kToolbarSaveCurrent,
                     SingleBitmapButton(app_.settings, "SaveCurrentD.bmp", "Save Current"));
  view.SetButtonLook(ids::kToolbarSaveAll,
                     SingleBitmapButton(app_.settings, "SaveAllD.bmp", "Save All"));
  ShowHelpAboutExitButtons(app_.settings, view);
  view.SetButtonLook(ids::kRepair,
                     SingleBitmapButton(app_.settings, "repair.bmp", "Repair", "Repair"));
  view.SetButtonLook(ids::kBrowse,
                     SingleBitmapButton(app_.settings, "browseBt.bmp", "Browse", "Browse"));
  title_ = ShowWindowTitle(app_.desktop.titles, app_.settings, view);
  view.EnableMenuItem(ids::kMenuSaveCurrent, false);
  view.EnableMenuItem(ids::kMenuSaveAll, false);
  ShowRows();
  ShowClearButtons();
  if (givenFiles_.empty()) return;
  view.Show();  // a question about a given file stands over the window
  AddPaths(givenFiles_);
}

void CZazoRavazuDlg::ShowSplash() {
  constexpr unsigned kSplashTimeoutMs = 2000;
  constexpr int kSplashWaitMs = 2500;
  CSplashScreenEx splash(app_.views.CreateSplashView());
  splash.CreateSplash(view_.get(), kSplashTimeoutMs,
                      CSplashScreenEx::kFadeIn | CSplashScreenEx::kFadeOut |
                          CSplashScreenEx::kDropShadow | CSplashScreenEx::kCentre);
  splash.LoadPicture(app_.settings.Bitmap("Flash.bmp"), 255, 0, 240);
  splash.ShowSplash();
  app_.desktop.windowThread.Wait(kSplashWaitMs);
  splash.HideSplash();
}

void CZazoRavazuDlg::OnCommand(int id) {
  switch (id) {
    case ids::kToolbarOpen:
    case ids::kBrowse:
    case ids::kMenuSelectSource:
      AddFiles();
      break;
    case ids::kClearSelected:
      ClearSelected();
      break;
    case ids::kClearAll:
      ClearAll();
      break;
    case ids::kRepair:
      StartRepair();
      break;
    case ids::kToolbarExit:
    case ids::kMenuExit:
      ExitProgram(ExitWay::kCommand);
      break;
    case ids::kToolbarHelp:
    case ids::kMenuContents:
      ShowHelp(app_, view_.get());
      break;
    case ids::kToolbarAbout:
    case ids::kMenuAbout:
      app_.views.ShowAbout(view_.get());
      break;
    default:  // the saving buttons are offered by the preview window only
      break;
  }
}

void CZazoRavazuDlg::OnClose() { ExitProgram(ExitWay::kCloseBox); }

bool CZazoRavazuDlg::OnKey(Key key) {
  if (key == Key::kEscape) {
    ExitProgram(ExitWay::kEscape);
  } else {
    ShowHelp(app_, view_.get());
  }
  return true;
}

bool CZazoRavazuDlg::IsListed(const std::string& path) const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [&](const std::string& row) { return SameIgnoringCase(row, path); });
}

void CZazoRavazuDlg::AddFiles() {
  const std::optional<std::vector<std::string>> picked =
      app_.desktop.pickers.PickFiles({.owner = view_.get(),
                                      .title = ui::kOpenTitle,
                                      .filterName = ui::kPdfFilterName,
                                      .patterns = {"*.pdf", "*.PDF"},
                                      .multipleSelection = true});
  if (picked) AddPaths(*picked);
}

void CZazoRavazuDlg::AddPaths(const std::vector<std::string>& paths) {
  const std::size_t before = rows_.size();
  for (const std::string& path : paths) {
    lastPickedPath_ = path;
    if (path.empty() || !app_.desktop.files.IsFile(path) || IsListed(path)) continue;
    if (const std::optional<std::string> doubt = SourceDoubt(app_.desktop.files, path);
        doubt && !AskQuestion(app_.desktop.messageBoxes, view_.get(), *doubt)) {
      continue;
    }
    rows_.push_back(path);
    hasFiles_ = true;
  }
  if (rows_.size() == before) return;
  ShowRows();
  ShowClearButtons();
}

void CZazoRavazuDlg::ClearSelected() {
  if (!hasFiles_) return;
  const int mark = view_->SelectionMark();
  if (mark < 0 || mark >= static_cast<int>(rows_.size())) {
    ShowNotice(app_.desktop.messageBoxes, view_.get(), ui::kSelectFileToRemove);
    return;
  }
  if (!AskQuestion(app_.desktop.messageBoxes, view_.get(), ui::kClearSelectedQuestion)) return;
  rows_.erase(rows_.begin() + mark);
  if (rows_.empty()) hasFiles_ = false;
  ShowRows();
  ShowClearButtons();
}

void CZazoRavazuDlg::ClearAll() {
  if (!hasFiles_ || rows_.empty()) return;
  if (!AskQuestion(app_.desktop.messageBoxes, view_.get(), ui::kClearAllQuestion)) return;
  rows_.clear();
  hasFiles_ = false;
  ShowRows();
  ShowClearButtons();
}

void CZazoRavazuDlg::StartRepair() {
  app_.fileList.Rebuild(rows_);
  if (!rows_.empty()) StartLogLine(app_);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    AppendToLog(app_, std::to_string(i + 1));
    AppendToLog(app_, "-");
    AppendToLog(app_, "   ");
    AppendToLog(app_, rows_[i]);
    AppendToLog(app_, "\r\n");
  }
  if (rows_.empty() || !app_.desktop.files.IsFile(lastPickedPath_)) {
    ShowNotice(app_.desktop.messageBoxes, view_.get(), ui::kNoFileSelected);
    return;
  }
  DialogResult result = app_.AnalysisDialog().DoModal();
  // A file that gave no copy (the job said why) does not hold up the files after it.
  for (FileListNode* current = app_.fileList.Current();
       result == DialogResult::kCancel && current && current->next; current = current->next.get()) {
    current->isCurrent = 0;
    current->next->isCurrent = 1;
    result = app_.AnalysisDialog().DoModal();
  }
  if (!app_.Job().jobDone) {
    view_->Show();
    return;
  }
  if (result != DialogResult::kOk) return;
  view_->Hide();
  {
    CPreview preview(app_);
    preview.DoModal();
  }
  view_->Show();
  CleanUpWorkFiles(app_, CleanUpMode::afterPreview);
}

void CZazoRavazuDlg::ExitProgram(ExitWay way) {
  if (way == ExitWay::kEscape) {
    if (AskQuestion(app_.desktop.messageBoxes, nullptr, ui::kQuickExitQuestion)) EndProgram(app_);
    return;
  }
  if (way == ExitWay::kCloseBox) view_->EnableControl(ids::kRepair, false);
  if (AskQuestion(app_.desktop.messageBoxes, view_.get(), ui::kExitQuestion)) {
    CleanUpWorkFiles(app_, CleanUpMode::atExit);
    EndProgram(app_);
  }
  if (way == ExitWay::kCloseBox) view_->EnableControl(ids::kRepair, true);
}

void CZazoRavazuDlg::ShowRows() { view_->SetFileRows(rows_); }

void CZazoRavazuDlg::ShowClearButtons() {
  const char* state = hasFiles_ ? "-a.bmp" : "-d.bmp";
  view_->SetButtonLook(ids::kClearSelected,
                       SingleBitmapButton(app_.settings, std::string("clearselected") + state,
                                          "Clear Selected", "Clear selected"));
  view_->SetButtonLook(
      ids::kClearAll,
      SingleBitmapButton(app_.settings, std::string("clearall") + state, "Clear All", "Clear All"));
  view_->EnableControl(ids::kClearSelected, hasFiles_);
  view_->EnableControl(ids::kClearAll, hasFiles_);
}

}  // namespace tarnwick
