#include "help.h"

#include "app_texts.h"

namespace tarnwick {
namespace {

// The system's own document viewer, started with the document when the shell's open fails.
constexpr char kSystemViewer[] = "/usr/bin/xdg-open";
constexpr int kLastShellFailure = 32;

}  // namespace

void ShowHelp(AppContext& app, WindowHandle* owner) {
  Desktop& desktop = app.desktop;
  if (desktop.titles.Exists(ui::kHelpWindowTitle)) return;
  const std::string folder = desktop.settings.Read(app.settings.settingsKeyName, "FilePath");
  // Programs the help starts find their companions in the program folder. No empty entry is
  // added: on Linux that would put the current folder on the search path.
  const std::optional<std::string> path = desktop.environment.Get("PATH");
  if (path && !folder.empty()) {
    desktop.environment.Set("PATH", path->empty() ? folder : *path + ":" + folder);
  }
  // Only the program folder's document is opened: a bare name would be looked up in the
  // current folder, where anyone could have left a file of that name.
  const std::string document = folder + "/" + ui::kHelpDocument;
  if (desktop.shell.Open(document, {}) > kLastShellFailure) return;
  if (desktop.shell.Open(kSystemViewer, {document}) > kLastShellFailure) return;
  app.views.ShowHelpWindow(owner, document);
}

}  // namespace tarnwick
