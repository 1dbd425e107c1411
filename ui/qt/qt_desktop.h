#pragma once

#include "desktop.h"
#include "posix_clock.h"
#include "posix_desktop_files.h"
#include "posix_process_services.h"
#include "posix_settings_store.h"
#include "posix_shell.h"
#include "posix_window_titles.h"
#include "qt_message_boxes.h"
#include "qt_pickers.h"
#include "qt_view_factory.h"
#include "qt_window_thread.h"
#include "thread_workers.h"

namespace tarnwick::qt {

// What a test that plays the user puts in the place of the program's own services.
struct StandIns {
  MessageBoxes* messageBoxes = nullptr;
  Pickers* pickers = nullptr;
  ProcessEnd* process = nullptr;
};

// The desktop program's services on this system, built in one place: the platform's own and
// Qt's windows, or the stand-ins given.
class QtDesktop {
 public:
  explicit QtDesktop(StandIns standIns = {});
  QtDesktop(const QtDesktop&) = delete;
  QtDesktop& operator=(const QtDesktop&) = delete;

  Desktop& Services() { return desktop_; }
  ViewFactory& Views() { return views_; }

 private:
  PosixEnvironment environment_;
  PosixSettingsStore settings_;
  PosixWindowTitles titles_;
  PosixShell shell_{environment_};
  PosixProcessEnd process_;
  PosixDesktopFiles files_;
  ThreadWorkers workers_;
  PosixClock clock_;
  QtWindowThread windowThread_;
  QtMessageBoxes messageBoxes_;
  QtPickers pickers_;
  QtViewFactory views_;
  Desktop desktop_;
};

}  // namespace tarnwick::qt
