#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "shell.h"
#include "views.h"

namespace tarnwick::win32::browser {

// The web browser control, watched: a navigation it leaves unfinished for `patience` is
// finished by the fallback pane, which takes the control's place from then on. A control that
// loads nothing (Wine without its browser engine, a system whose engine is broken) would
// otherwise leave the preview waiting for ever.
class WatchedPane final : public BrowserPane {
 public:
  // Null when the control cannot be created; the thread must have initialised OLE.
  static std::unique_ptr<WatchedPane> Create(HWND dialog, const RECT& rect, Shell& shell,
                                             std::function<void()> onComplete,
                                             std::chrono::milliseconds patience);
  ~WatchedPane() override;
  WatchedPane(const WatchedPane&) = delete;
  WatchedPane& operator=(const WatchedPane&) = delete;

  bool Navigate(const std::string& address) override;
  bool Refresh() override;
  void Place(int x, int y, int width, int height) override;

 private:
  WatchedPane(HWND dialog, const RECT& rect, Shell& shell, std::function<void()> onComplete,
              std::chrono::milliseconds patience);
  static void CALLBACK OnPatienceEnd(HWND, UINT, UINT_PTR timer, DWORD);
  void Completed();
  void StopWatching();
  void GiveUpOnTheControl();

  HWND dialog_;
  RECT rect_;
  Shell& shell_;
  std::function<void()> onComplete_;
  std::chrono::milliseconds patience_;
  std::unique_ptr<BrowserPane> pane_;
  bool controlShows_ = true;
  bool waiting_ = false;
  UINT_PTR timer_ = 0;
  std::string lastAddress_;
};

}  // namespace tarnwick::win32::browser
