#pragma once

#include <deque>
#include <memory>
#include <string>

#include "desktop.h"
#include "file_list.h"
#include "job_message_boxes.h"
#include "job_switch.h"
#include "pdf_repair.h"
#include "views.h"

namespace tarnwick {

class CProgressBar;
class CFileSave;

// Values read at start-up and shared by every window.
struct AppSettings {
  std::string settingsKeyName;
  std::string programFolder;  // without a trailing separator
  std::string windowTitle;
};

// What the preview window keeps across its runs and shares with the saving dialog.
struct PreviewShared {
  int currentNumber = 1;
  std::string shownPath;
  bool firstPaneShows = false;
  bool backFileEnabled = false;
  bool nextFileEnabled = false;
  bool returnToPreview = false;
  DialogView* previewWindow = nullptr;
};

// The process-wide state of the desktop program: settings, the file list, the copies to clean
// up, the repair engine with its job state, and the two dialogs that run jobs. Only one job
// runs at a time, so one switch pauses and stops whichever is running.
class AppContext {
 public:
  AppContext(Desktop& desktop, ViewFactory& views);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  RepairJobState& Job() { return engine.State(); }
  CProgressBar& AnalysisDialog() { return *analysisDialog_; }
  CFileSave& SavingDialog() { return *savingDialog_; }
  // The folder holding the program's bitmaps, followed by the given name.
  std::string Bitmap(const std::string& name) const;

  Desktop& desktop;
  ViewFactory& views;
  AppSettings settings;
  FileList fileList;
  std::deque<std::string> workFiles;
  PreviewShared preview;
  JobSwitch jobSwitch;
  JobMessageBoxes jobMessages;
  PDF_Repair engine;

 private:
  // Declared last: the dialogs end their workers before the engine goes.
  std::unique_ptr<CProgressBar> analysisDialog_;
  std::unique_ptr<CFileSave> savingDialog_;
};

// Ends the process at once with exit code 0; nothing else runs.
[[noreturn]] void EndProgram(AppContext& app);

}  // namespace tarnwick
