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

// Values read at start-up and shared by every window.
struct AppSettings {
  std::string settingsKeyName;
  std::string programFolder;  // without a trailing separator
  std::string windowTitle;

  // The folder holding the program's bitmaps, followed by the given name.
  std::string Bitmap(const std::string& name) const;
};

// The repaired copies that the previews showed: those waiting for their clean-up, and the one
// on display. Every way out of the program deletes them all.
struct WorkCopies {
  std::deque<std::string> pending;
  std::string shown;
  // While a preview is open, a closed one's delayed clean-up leaves the copies alone: the new
  // preview may show one under the same name.
  bool previewOpen = false;
};

// The process-wide state of the desktop program: settings, the file list, the work copies, the
// repair engine with its job state, and the analysis dialog that the main and the preview
// window both run. Only one job runs at a time, so one switch pauses and stops whichever is
// running.
class AppContext {
 public:
  AppContext(Desktop& desktop, ViewFactory& views);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  RepairJobState& Job() { return engine.State(); }
  CProgressBar& AnalysisDialog() { return *analysisDialog_; }

  Desktop& desktop;
  ViewFactory& views;
  AppSettings settings;
  FileList fileList;
  WorkCopies workCopies;
  JobSwitch jobSwitch;
  JobMessageBoxes jobMessages;
  PDF_Repair engine;

 private:
  // Declared last: the dialog ends its worker before the engine goes.
  std::unique_ptr<CProgressBar> analysisDialog_;
};

// Ends the process at once with exit code 0; nothing else runs.
[[noreturn]] void EndProgram(AppContext& app);

}  // namespace tarnwick
