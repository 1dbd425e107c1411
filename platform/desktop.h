#pragma once

#include "desktop_files.h"
#include "file_layer.h"
#include "message_boxes.h"
#include "pickers.h"
#include "process_services.h"
#include "settings_store.h"
#include "shell.h"
#include "window_thread.h"
#include "window_titles.h"

namespace tarnwick {

// Everything the desktop program takes from the operating system and its window system.
struct Desktop {
  MessageBoxes& messageBoxes;
  Pickers& pickers;
  Shell& shell;
  WindowTitles& titles;
  ProcessEnd& process;
  Environment& environment;
  SettingsStore& settings;
  DesktopFiles& files;
  Clock& clock;
  WindowThread& windowThread;
  Workers& workers;
};

}  // namespace tarnwick
