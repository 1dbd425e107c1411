#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app_context.h"

namespace tarnwick {

class CZazoRavazuDlg;

// The application object: reads the settings, refuses to run twice, keeps the automation
// entries and runs the main window.
class CZazoRavazuApp {
 public:
  explicit CZazoRavazuApp(AppContext& app);
  ~CZazoRavazuApp();

  // Runs the program until it has finished (the main window usually ends the process before
  // that).
  void InitInstance(const std::vector<std::string>& arguments);

 private:
  void RegisterAutomation();
  void UnregisterAutomation();

  AppContext& app_;
  std::unique_ptr<CZazoRavazuDlg> mainWindow_;
};

// The automation switches of a command line, recognised after "/" or "-" in any letter case,
// and the files it gives (a file manager's "Open with", a PDF dropped on the program).
struct AutomationSwitches {
  bool startedByClient = false;  // Embedding or Automation
  bool registerOnly = false;
  bool unregister = false;
  std::vector<std::string> files;
};
AutomationSwitches ParseAutomationSwitches(const std::vector<std::string>& arguments);

}  // namespace tarnwick
