#include "qt_desktop.h"

#include <filesystem>
#include <system_error>

#include "app_texts.h"
#include "ini_document.h"

namespace tarnwick::qt {
namespace {

// What the program takes where no settings file says otherwise, as for a user of a system-wide
// installation that wrote none: its bitmaps and help beside the program itself, the activity
// log in the user's own state folder.
std::string SettingDefaults(Environment& environment) {
  IniDocument defaults("");
  defaults.Set(ui::kSettingsKeyName, "FilePath", RunningProgramFolder());
  if (const std::string state = UserStateFolder(environment); !state.empty()) {
    std::error_code ignored;  // the log then goes beside the program, where it can
    std::filesystem::create_directories(state, ignored);
    defaults.Set(ui::kSettingsKeyName, "LogPath", state);
  }
  return defaults.Text();
}

}  // namespace

QtDesktop::QtDesktop(StandIns standIns)
    : settings_(DefaultSettingsFiles(environment_), SettingDefaults(environment_)),
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
