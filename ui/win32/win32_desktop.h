#pragma once

#include "desktop.h"
#include "native_platform.h"
#include "win32_message_boxes.h"
#include "win32_pickers.h"
#include "win32_process_services.h"
#include "win32_settings_store.h"
#include "win32_shell.h"
#include "win32_view_factory.h"
#include "win32_window_thread.h"
#include "win32_window_titles.h"

namespace tarnwick::win32 {

// The desktop program's services on Windows, built in one place: the platform's own and the
// Win32 windows.
class Win32Desktop {
 public:
  Win32Desktop();
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  Desktop& Services() { return desktop_; }
  ViewFactory& Views() { return views_; }

 private:
  NativeEnvironment environment_;
  Win32SettingsStore settings_;
  Win32WindowTitles titles_;
  Win32Shell shell_{environment_};
  Win32ProcessEnd process_;
  NativeDesktopFiles files_;
  NativeWorkers workers_;
  NativeClock clock_;
  Win32WindowThread windowThread_;
  Win32MessageBoxes messageBoxes_;
  Win32Pickers pickers_;
  Win32ViewFactory views_;
  Desktop desktop_;
};

}  // namespace tarnwick::win32
