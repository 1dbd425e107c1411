#pragma once

#include "shell.h"
#include "views.h"
#include "window_thread.h"

namespace tarnwick::win32 {

// Makes the Win32 views of the program's windows.
class Win32ViewFactory final : public ViewFactory {
 public:
  Win32ViewFactory(Shell& shell, WindowThread& windowThread)
      : shell_(shell), windowThread_(windowThread) {}

  std::unique_ptr<MainWindowView> CreateMainWindowView(WindowEvents& events) override;
  std::unique_ptr<DialogView> CreateAnalysisView(WindowEvents& events) override;
  std::unique_ptr<PreviewView> CreatePreviewView(PreviewEvents& events) override;
  std::unique_ptr<DialogView> CreateSavingView(WindowEvents& events) override;
  std::unique_ptr<DialogView> CreateCompletionView(WindowEvents& events) override;
  std::unique_ptr<SplashView> CreateSplashView() override;
  void ShowAbout(WindowHandle* owner) override;
  // The program asks the shell for the document before it comes here; what is left is to tell
  // the user where the document lies.
  void ShowHelpWindow(WindowHandle* owner, const std::string& documentPath) override;

 private:
  Shell& shell_;
  WindowThread& windowThread_;
};

}  // namespace tarnwick::win32
