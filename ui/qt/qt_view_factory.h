#pragma once

#include <QPointer>

#include "views.h"

namespace tarnwick::qt {

class HelpWindow;

// Makes the Qt views of the program's windows.
class QtViewFactory final : public ViewFactory {
 public:
  std::unique_ptr<MainWindowView> CreateMainWindowView(WindowEvents& events) override;
  std::unique_ptr<DialogView> CreateAnalysisView(WindowEvents& events) override;
  std::unique_ptr<PreviewView> CreatePreviewView(PreviewEvents& events) override;
  std::unique_ptr<DialogView> CreateSavingView(WindowEvents& events) override;
  std::unique_ptr<DialogView> CreateCompletionView(WindowEvents& events) override;
  std::unique_ptr<SplashView> CreateSplashView() override;
  void ShowAbout(WindowHandle* owner) override;
  void ShowHelpWindow(WindowHandle* owner, const std::string& documentPath) override;

 private:
  QPointer<HelpWindow> help_;  // one help window at a time; it deletes itself when closed
};

}  // namespace tarnwick::qt
