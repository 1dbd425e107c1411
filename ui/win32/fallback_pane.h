#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "shell.h"
#include "views.h"

namespace tarnwick::win32::browser {

// The pane where the web browser control cannot be had: the copy's path and a button that opens
// the copy with the system's PDF viewer. Navigations complete at once; "about:blank" shows nothing.
class FallbackPane final : public BrowserPane {
 public:
  FallbackPane(HWND dialog, const RECT& rect, Shell& shell, std::function<void()> onComplete);
  ~FallbackPane() override;
  FallbackPane(const FallbackPane&) = delete;
  FallbackPane& operator=(const FallbackPane&) = delete;

  bool Navigate(const std::string& address) override;
  // Like the control's own refresh, it reports no navigation.
  bool Refresh() override;
  // A size of 0 × 0 hides the pane.
  void Place(int x, int y, int width, int height) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateChildren(HWND dialog);
  void LayOut(int width);
  void OpenShownFile();

  Shell& shell_;
  std::function<void()> onComplete_;
  std::string shownFile_;
  HWND container_ = nullptr;
  HWND pathText_ = nullptr;
  HWND openButton_ = nullptr;
};

}  // namespace tarnwick::win32::browser
