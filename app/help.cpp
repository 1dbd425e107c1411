#include "help.h"

#include "app_texts.h"

namespace tarnwick {

void ShowHelp(AppContext& app, WindowHandle* owner) {
  Desktop& desktop = app.desktop;
  if (desktop.titles.Exists(ui::kHelpWindowTitle)) return;
  const std::string folder = desktop.settings.Read(app.settings.settingsKeyName, "FilePath");
  // Only the program folder's document is opened: a bare name would be looked up in the
  // current folder, where anyone could have left a file of that name.
  const std::string document = folder + "/" + ui::kHelpDocument;
  if (desktop.shell.ShowDocument(document, folder)) return;
  app.views.ShowHelpWindow(owner, document);
}

}  // namespace tarnwick
