#include "qt_desktop.h"

namespace tarnwick::qt {

QtDesktop::QtDesktop(StandIns standIns)
    : settings_(DefaultSettingsPath(environment_)),
      titles_(environment_),
      desktop_{.messageBoxes = standIns.messageBoxes ? *standIns.messageBoxes : messageBoxes_,
               .pickers = standIns.pickers ? *standIns.pickers : pickers_,
               .shell = shell_,
               .titles = titles_,
               .process = standIns.process ? *standIns.process : process_,
               .environment = environment_,
               .settings = settings_,
               .files = files_,
               .clock = clock_,
               .windowThread = windowThread_,
               .workers = workers_} {}

}  // namespace tarnwick::qt
