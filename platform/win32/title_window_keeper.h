#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace tarnwick {

// The thread that owns every title window of the process (see Win32WindowTitles). Its calls
// may come from any thread and return once the keeper has done the work.
class TitleWindowKeeper {
 public:
  // Counted from 1 and never reused, unlike window handles.
  using WindowId = std::uintptr_t;
  static constexpr WindowId kNoWindow = 0;

  static TitleWindowKeeper& Instance();

  // A new hidden top-level window with the title; kNoWindow when it could not be made.
  WindowId Create(const std::wstring& title);
  // Destroys the window if it is still there.
  void Destroy(WindowId window);
  void DestroyAll();

 private:
  explicit TitleWindowKeeper(HWND control);

  // The message-only window on the keeper's thread that takes the requests.
  HWND control_;
};

}  // namespace tarnwick
