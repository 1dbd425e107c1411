#pragma once

#include <memory>

#include "shell.h"
#include "win32_dialog_view.h"
#include "window_thread.h"

namespace tarnwick::win32 {

// The preview window: toolbar, source path, the two browser panes, file number and count,
// Back File, Next File, Back, Save Current File, Save All and the menu.
class Win32PreviewView final : public Win32DialogView, public PreviewView {
 public:
  Win32PreviewView(PreviewEvents& events, Shell& shell, WindowThread& windowThread);
  ~Win32PreviewView() override;

  BrowserPane& Pane(int id) override;
  int WindowBottomInClient() override;

 private:
  // Cleared when the view goes, so that a completion queued by a pane is dropped then.
  std::shared_ptr<bool> alive_;
  std::unique_ptr<BrowserPane> firstPane_;
  std::unique_ptr<BrowserPane> secondPane_;
};

}  // namespace tarnwick::win32
