#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app_context.h"
#include "saving_dialog.h"

namespace tarnwick {

// The preview window: shows the repaired copy of the current file in one of two browser panes,
// steps through the file list (repairing each file on arrival), and starts the saving runs.
// It owns the copies it shows: the previous one is deleted when a new one is on display.
class CPreview final : public PreviewEvents {
 public:
  explicit CPreview(AppContext& app);
  ~CPreview() override;

  // Returns Cancel when the user goes back to the file selection; every other way out ends the
  // program.
  DialogResult DoModal();

  void OnCommand(int id) override;
  void OnClose() override { ExitPreview(); }
  bool OnKey(Key key) override;
  void OnPaint() override { ShowPendingCopy(); }
  void OnNavigationComplete() override;

  void UpdateFileButtons();
  // Tells the user when the copy about to be shown lists no page, or lost pages of its file.
  void NoticeLostPages();
  void ShowPendingCopy();
  void ShowNextFile();
  void ShowPreviousFile();
  void ReturnToSelection();
  // Saves the current file's copy, or with `all` every file's, into a folder the user picks.
  void SaveFiles(bool all);
  // The chosen folder, ending with a separator; nothing when there is none to save into. A
  // folder where a copy would replace its own source is refused and the choice asked again.
  std::optional<std::string> ChooseDestination();
  // True when saving into `folder` would put a copy in place of its own source: the current
  // file's for Save Current, any file's for Save All.
  bool WouldReplaceASource(const std::string& folder);
  void ExitPreview();

  PreviewView& View() { return *view_; }

 private:
  void Initialise();
  void ShowBackFileButton();
  void ShowNextFileButton();
  void ShowFileLabels(const FileListNode& node);
  // Where the window stood before a move.
  struct Place {
    FileListNode* node;
    int number;
    bool firstPaneShows;
  };
  Place Here() const;
  // Repairs the newly current file and, when that worked, lets the next paint show the new
  // copy in the other pane. The labels name the new file from the start of the move, so the old
  // copy leaves the screen at once; a stopped move returns to `from` and shows its copy again,
  // a failed one leaves the pane empty under the labels of the file that failed.
  void RepairAfterMove(const Place& from);
  void ReturnTo(const Place& place);
  void ShowInPane(bool first, const std::string& path);
  void ShowCopy(const std::string& path);

  AppContext& app_;
  CFileSave savingDialog_;
  std::unique_ptr<PreviewView> view_;
  std::unique_ptr<WindowTitles::Claim> title_;
  int currentNumber_ = 1;  // as the "File Number" label shows it
  bool firstPaneShows_ = false;
  int displayedPane_ = 0;  // the pane that has the display size
  bool backFileEnabled_ = false;
  bool nextFileEnabled_ = false;
  bool navigationPending_ = false;
  std::string pendingPath_;
  int paneHeight_ = 0;
};

}  // namespace tarnwick
