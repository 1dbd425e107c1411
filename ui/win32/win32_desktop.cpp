#include "win32_desktop.h"

namespace tarnwick::win32 {

Win32Desktop::Win32Desktop()
    : views_(shell_, windowThread_),
      desktop_{.messageBoxes = messageBoxes_,
               .pickers = pickers_,
               .shell = shell_,
               .titles = titles_,
               .process = process_,
               .environment = environment_,
               .settings = settings_,
               .files = files_,
               .clock = clock_,
               .windowThread = windowThread_,
               .workers = workers_} {}

}  // namespace tarnwick::win32
