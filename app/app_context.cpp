#include "app_context.h"

#include <cstdlib>

#include "analysis_dialog.h"
#include "app_texts.h"
#include "work_files.h"

namespace tarnwick {

AppContext::AppContext(Desktop& desktopServices, ViewFactory& viewFactory)
    : desktop(desktopServices),
      views(viewFactory),
      jobMessages(desktopServices, ui::kMessageCaption),
      engine(RepairServices{desktopServices.files, desktopServices.clock, jobMessages, jobSwitch}),
      analysisDialog_(std::make_unique<CProgressBar>(*this)) {
  Job().messageCaption = ui::kMessageCaption;
}

AppContext::~AppContext() = default;

std::string AppSettings::Bitmap(const std::string& name) const {
  return programFolder + "/Bmp/" + name;
}

void EndProgram(AppContext& app) {
  // The process ends without unwinding, so no window withdraws its title on the way out, and
  // no way out may leave a work copy behind.
  app.desktop.titles.WithdrawAll();
  app.desktop.files.RemoveUnfinishedCopies();
  DeleteAllWorkCopies(app);
  app.desktop.process.EndProcess(0);
  std::abort();  // an implementation that returned would leave the program half ended
}

}  // namespace tarnwick
