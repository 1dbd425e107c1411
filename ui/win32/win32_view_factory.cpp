#include "win32_view_factory.h"

#include "about_box.h"
#include "app_texts.h"
#include "control_ids.h"
#include "win32_dialog_view.h"
#include "win32_main_window_view.h"
#include "win32_preview_view.h"
#include "win32_splash_view.h"
#include "win32_text.h"

namespace tarnwick::win32 {
namespace {

// The completion dialog: Enter presses its OK button.
class Win32CompletionView final : public Win32DialogView {
 public:
  explicit Win32CompletionView(WindowEvents& events)
      : Win32DialogView(events, layouts::kCompletion) {
    SetDefaultButton(ids::kCompletionOk);
  }
};

}  // namespace

std::unique_ptr<MainWindowView> Win32ViewFactory::CreateMainWindowView(WindowEvents& events) {
  return std::make_unique<Win32MainWindowView>(events);
}

std::unique_ptr<DialogView> Win32ViewFactory::CreateAnalysisView(WindowEvents& events) {
  return std::make_unique<Win32DialogView>(events, layouts::kAnalysis);
}

std::unique_ptr<PreviewView> Win32ViewFactory::CreatePreviewView(PreviewEvents& events) {
  return std::make_unique<Win32PreviewView>(events, shell_, windowThread_);
}

std::unique_ptr<DialogView> Win32ViewFactory::CreateSavingView(WindowEvents& events) {
  return std::make_unique<Win32DialogView>(events, layouts::kSaving);
}

std::unique_ptr<DialogView> Win32ViewFactory::CreateCompletionView(WindowEvents& events) {
  return std::make_unique<Win32CompletionView>(events);
}

std::unique_ptr<SplashView> Win32ViewFactory::CreateSplashView() {
  return CreateWin32SplashView();
}

void Win32ViewFactory::ShowAbout(WindowHandle* owner) { ShowAboutBox(HandleOf(owner)); }

void Win32ViewFactory::ShowHelpWindow(WindowHandle* owner, const std::string& documentPath) {
  MessageBoxW(HandleOf(owner), Wide(documentPath).c_str(), Wide(ui::kHelpWindowTitle).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

}  // namespace tarnwick::win32
