#include "preview_window.h"

#include "analysis_dialog.h"
#include "app_texts.h"
#include "control_ids.h"
#include "help.h"
#include "path_separators.h"
#include "recovery_notice.h"
#include "saving_dialog.h"
#include "window_helpers.h"
#include "work_files.h"

namespace tarnwick {
namespace {

constexpr int kPaneX = 215;
constexpr int kPaneY = 120;
constexpr int kPaneWidth = 500;
constexpr int kPaneBottomMargin = 200;
constexpr int kMoveWaitMs = 500;
// The setting that remembers the folder of the last save, where the next folder choice opens.
constexpr char kLastDestination[] = "LastDestination";

std::string WithSeparator(const std::string& folder) {
  return folder.ends_with('/') ? folder : folder + '/';
}

}  // namespace

CPreview::CPreview(AppContext& app) : app_(app), savingDialog_(app) {}

CPreview::~CPreview() { app_.workCopies.previewOpen = false; }

DialogResult CPreview::DoModal() {
  view_ = app_.views.CreatePreviewView(*this);
  view_->SetBackground(app_.settings.Bitmap("Preview.bmp"));
  navigationPending_ = false;
  Initialise();
  return view_->RunModal();
}

void CPreview::Initialise() {
  PreviewView& view = *view_;
  view.SetButtonLook(ids::kToolbarOpen, SingleBitmapButton(app_.settings, "OpenD.bmp", "Open"));
  view.SetButtonLook(
      ids::kPreviewSaveCurrent,
      HoverBitmapButton(app_.settings, "SaveCurrent.bmp", "SaveCurrentA.bmp", "Save Current"));
  view.SetButtonLook(ids::kToolbarSaveAll,
                     HoverBitmapButton(app_.settings, "SaveAll.bmp", "SaveAllA.bmp", "Save All"));
  ShowHelpAboutExitButtons(app_.settings, view);
  view.SetButtonLook(ids::kBack, SingleBitmapButton(app_.settings, "back.bmp", "Back", "Back"));
  view.SetButtonLook(
      ids::kSaveCurrentButton,
      SingleBitmapButton(app_.settings, "SaveC-a.bmp", "Save Current", "Save Current File"));
  view.SetButtonLook(ids::kSaveAllButton,
                     SingleBitmapButton(app_.settings, "SaveAll-a.bmp", "Save All", "Save All"));
  title_ = ShowWindowTitle(app_.desktop.titles, app_.settings, view);
  view.EnableMenuItem(ids::kMenuSelectSource, false);
  app_.workCopies.previewOpen = true;

  paneHeight_ = view.WindowBottomInClient() - kPaneBottomMargin;
  view.Pane(ids::kSecondPane).Place(kPaneX, kPaneY, 0, 0);
  view.Pane(ids::kFirstPane).Place(kPaneX, kPaneY, kPaneWidth, paneHeight_);
  displayedPane_ = ids::kFirstPane;

  currentNumber_ = app_.fileList.CurrentPosition();
  if (const FileListNode* current = app_.fileList.Current()) ShowFileLabels(*current);
  view.SetText(ids::kFileCount, std::to_string(app_.fileList.NodeCount()));

  const std::string& outputPath = app_.Job().outputPath;
  if (app_.desktop.files.IsFile(outputPath)) {
    NoticeLostPages();
    firstPaneShows_ = true;
    ShowCopy(outputPath);
    view.Pane(ids::kFirstPane).Navigate(outputPath + ui::kNoToolbar);
  }
  UpdateFileButtons();
}

void CPreview::NoticeLostPages() {
  // The copy would show an empty pane, or fewer pages than the file had; the user may still go
  // on with it.
  if (const std::optional<std::string> notice = RecoveryNotice(app_.engine.Outcome())) {
    // The first notice comes before the window's own loop shows it: a box alone on the desktop
    // would speak of a program that seems not to be there.
    view_->Show();
    ShowNotice(app_.desktop.messageBoxes, view_.get(), *notice);
  }
}

void CPreview::ShowFileLabels(const FileListNode& node) {
  view_->SetText(ids::kSourcePath, node.path);
  view_->SetText(ids::kFileNumber, std::to_string(currentNumber_));
}

void CPreview::UpdateFileButtons() {
  const int count = app_.fileList.NodeCount();
  const int position = app_.fileList.CurrentPosition();
  nextFileEnabled_ = count > 1 && position != count;
  backFileEnabled_ = position > 1;
  ShowNextFileButton();
  ShowBackFileButton();
  view_->EnableControl(ids::kSaveCurrentButton, true);
  view_->EnableControl(ids::kSaveAllButton, true);
  view_->EnableControl(ids::kBack, true);
}

void CPreview::ShowBackFileButton() {
  const bool active = backFileEnabled_;
  view_->SetButtonLook(
      ids::kBackFile,
      SingleBitmapButton(app_.settings, active ? "backfile-a.bmp" : "backfile-d.bmp", "Back File",
                         "Back File"));
}

void CPreview::ShowNextFileButton() {
  const bool active = nextFileEnabled_;
  view_->SetButtonLook(
      ids::kNextFile,
      SingleBitmapButton(app_.settings, active ? "nextfile-a.bmp" : "nextfile-d.bmp", "Next File",
                         "Next File"));
}

void CPreview::OnCommand(int id) {
  switch (id) {
    case ids::kPreviewSaveCurrent:
    case ids::kSaveCurrentButton:
    case ids::kMenuSaveCurrent:
      SaveFiles(false);
      break;
    case ids::kToolbarSaveAll:
    case ids::kSaveAllButton:
    case ids::kMenuSaveAll:
      SaveFiles(true);
      break;
    case ids::kToolbarHelp:
    case ids::kMenuContents:
      ShowHelp(app_, view_.get());
      break;
    case ids::kToolbarAbout:
    case ids::kMenuAbout:
      app_.views.ShowAbout(view_.get());
      break;
    case ids::kToolbarExit:
    case ids::kMenuExit:
      ExitPreview();
      break;
    case ids::kBackFile:
      ShowPreviousFile();
      break;
    case ids::kNextFile:
      ShowNextFile();
      break;
    case ids::kBack:
      ReturnToSelection();
      break;
    default:  // Open does nothing here
      break;
  }
}

bool CPreview::OnKey(Key key) {
  if (key == Key::kF1) {
    ShowHelp(app_, view_.get());
  } else if (AskQuestion(app_.desktop.messageBoxes, view_.get(), ui::kQuickExitQuestion)) {
    EndProgram(app_);
  }
  return true;
}

void CPreview::OnNavigationComplete() { view_->Invalidate(); }

void CPreview::ShowCopy(const std::string& path) {
  // Recorded for the clean-up as it goes on display, not once the pane has loaded it: a user who
  // leaves before that must not leave it behind.
  app_.workCopies.shown = path;
  app_.workCopies.pending.push_back(path);
}

void CPreview::ShowInPane(bool first, const std::string& path) {
  const int shown = first ? ids::kFirstPane : ids::kSecondPane;
  const int hidden = first ? ids::kSecondPane : ids::kFirstPane;
  view_->Pane(hidden).Place(kPaneX, kPaneY, 0, 0);
  view_->Pane(shown).Place(kPaneX, kPaneY, kPaneWidth, paneHeight_);
  view_->Pane(shown).Navigate(path + ui::kNoToolbar);
  displayedPane_ = shown;
}

void CPreview::ShowPendingCopy() {
  if (!navigationPending_) return;
  navigationPending_ = false;
  if (!app_.desktop.files.IsFile(pendingPath_)) return;
  const std::string& shownPath = app_.workCopies.shown;
  // Two same-named files repaired within one second share a work folder and a name: the new
  // copy then replaced the old one, which must not be deleted.
  if (shownPath != pendingPath_) DeleteWorkCopy(app_, shownPath);
  ShowCopy(pendingPath_);
  ShowInPane(firstPaneShows_, pendingPath_);
}

CPreview::Place CPreview::Here() const {
  return {app_.fileList.Current(), currentNumber_, firstPaneShows_};
}

void CPreview::RepairAfterMove(const Place& from) {
  // The pane on display lets go of the old copy as the labels change; the other pane was blanked
  // when it last left the display, so the new copy can go there.
  view_->Pane(displayedPane_).Navigate(ui::kBlankPage);
  const DialogResult result = app_.AnalysisDialog().DoModal();
  const RepairJobState& job = app_.Job();
  const bool haveCopy = app_.desktop.files.IsFile(job.outputPath);
  if (result != DialogResult::kOk || !job.jobDone || !haveCopy) {
    // An incomplete new copy is left for the clean-up.
    if (haveCopy && job.outputPath != app_.workCopies.shown) {
      app_.workCopies.pending.push_back(job.outputPath);
    }
    const bool stopped = result == DialogResult::kOk && !job.jobDone;
    if (stopped) ReturnTo(from);
    return;
  }
  NoticeLostPages();
  // The new copy goes on display at the paint that follows this blank page's completion.
  view_->Pane(firstPaneShows_ ? ids::kFirstPane : ids::kSecondPane).Navigate(ui::kBlankPage);
  navigationPending_ = true;
  pendingPath_ = job.outputPath;
  firstPaneShows_ = !firstPaneShows_;
}

void CPreview::ReturnTo(const Place& place) {
  if (FileListNode* current = app_.fileList.Current()) current->isCurrent = 0;
  if (!place.node) return;
  place.node->isCurrent = 1;
  currentNumber_ = place.number;
  firstPaneShows_ = place.firstPaneShows;
  ShowFileLabels(*place.node);
  UpdateFileButtons();
  const std::string& shown = app_.workCopies.shown;
  if (app_.desktop.files.IsFile(shown)) {
    view_->Pane(displayedPane_).Navigate(shown + ui::kNoToolbar);
  }
}

void CPreview::ShowNextFile() {
  app_.desktop.windowThread.Wait(kMoveWaitMs);
  FileListNode* current = app_.fileList.Current();
  if (!nextFileEnabled_ || !current || !current->next) return;
  const Place from = Here();
  ++currentNumber_;
  backFileEnabled_ = true;
  ShowBackFileButton();
  FileListNode& next = *current->next;
  current->isCurrent = 0;
  if (!next.next) {
    nextFileEnabled_ = false;
    ShowNextFileButton();
  }
  next.isCurrent = 1;
  ShowFileLabels(next);
  RepairAfterMove(from);
}

void CPreview::ShowPreviousFile() {
  app_.desktop.windowThread.Wait(kMoveWaitMs);
  if (!backFileEnabled_) return;
  const Place from = Here();
  --currentNumber_;
  nextFileEnabled_ = true;
  ShowNextFileButton();
  firstPaneShows_ = true;
  FileListNode* previous = app_.fileList.head.get();
  FileListNode* node = previous;
  while (node && node->isCurrent != 1) {
    previous = node;
    node = node->next.get();
  }
  if (!node) return;
  node->isCurrent = 0;
  previous->isCurrent = 1;
  if (previous->path == app_.fileList.head->path) {
    backFileEnabled_ = false;
    ShowBackFileButton();
  }
  ShowFileLabels(*previous);
  RepairAfterMove(from);
}

void CPreview::ReturnToSelection() {
  if (!AskQuestion(app_.desktop.messageBoxes, view_.get(), ui::kPreviousStepQuestion)) return;
  view_->EndModal(DialogResult::kCancel);
}

void CPreview::SaveFiles(bool all) {
  RepairJobState& job = app_.Job();
  job.saveMode = true;
  job.saveCurrent = !all;
  job.saveAll = all;
  if (const std::optional<std::string> folder = ChooseDestination()) {
    job.destinationFolder = *folder;
    // A saving run is a job of its own and leaves outputPath in the destination folder; the
    // copy on display is still the work copy, and later moves and clean-ups must see that one.
    const std::string shownOutput = job.outputPath;
    savingDialog_.DoModal(*view_);
    job.outputPath = shownOutput;
  }
  job.saveMode = false;
  job.saveCurrent = false;
  job.saveAll = false;
}

std::optional<std::string> CPreview::ChooseDestination() {
  SettingsStore& store = app_.desktop.settings;
  const std::string& key = app_.settings.settingsKeyName;
  std::string start = store.Read(key, kLastDestination);
  for (;;) {
    // The choice never opens on a folder that would be refused.
    if (!start.empty() &&
        (!app_.desktop.files.Exists(start) || WouldReplaceASource(WithSeparator(start)))) {
      start.clear();
    }
    const std::optional<std::string> chosen =
        app_.desktop.pickers.PickFolder(view_.get(), ui::kChooseDestinationTitle, start);
    if (!chosen) return std::nullopt;
    if (chosen->empty() || !app_.desktop.files.Exists(*chosen)) {
      ShowNotice(app_.desktop.messageBoxes, view_.get(), ui::kSavingPathMissing);
      return std::nullopt;
    }
    const std::string folder = WithSeparator(*chosen);
    // Asking to overwrite would only lead to a refusal: the job cannot replace its own source.
    if (!WouldReplaceASource(folder)) {
      store.Write(key, kLastDestination, *chosen);
      return folder;
    }
    ShowNotice(app_.desktop.messageBoxes, view_.get(), ui::kCopyCannotReplaceOriginal);
  }
}

bool CPreview::WouldReplaceASource(const std::string& folder) {
  const auto replaces = [&](const FileListNode& node) {
    return app_.desktop.files.SameFile(node.path, folder + FileNameOf(node.path));
  };
  if (!app_.Job().saveAll) {
    const FileListNode* current = app_.fileList.Current();
    return current && replaces(*current);
  }
  for (const FileListNode* node = app_.fileList.head.get(); node; node = node->next.get()) {
    if (replaces(*node)) return true;
  }
  return false;
}

void CPreview::ExitPreview() {
  if (!AskQuestion(app_.desktop.messageBoxes, view_.get(), ui::kExitQuestion)) return;
  CleanUpWorkFiles(app_, CleanUpMode::atExit, [this] {
    for (int pane : {ids::kFirstPane, ids::kSecondPane}) {
      if (view_->Pane(pane).Navigate(ui::kBlankPage)) view_->Pane(pane).Refresh();
    }
  });
  EndProgram(app_);
}

}  // namespace tarnwick
