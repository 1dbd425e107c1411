// tarnwick: the desktop program. Picks damaged PDF files, repairs them, shows the repaired copies
// and saves them, in Qt windows on top of the toolkit-free workflow.
#include <QApplication>
#include <QIcon>
#include <string>
#include <vector>

#include "app_context.h"
#include "application.h"
#include "posix_clock.h"
#include "posix_desktop_files.h"
#include "posix_process_services.h"
#include "posix_settings_store.h"
#include "posix_shell.h"
#include "posix_window_titles.h"
#include "posix_workers.h"
#include "qt_message_boxes.h"
#include "qt_pickers.h"
#include "qt_view_factory.h"
#include "qt_window_thread.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tarnwick"));
  QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
  // Lets the desktop match the windows to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("tarnwick"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarnwick")));

  using namespace tarnwick;
  PosixEnvironment environment;
  PosixSettingsStore settings(DefaultSettingsPath(environment));
  PosixWindowTitles titles(environment);
  PosixShell shell(environment);
  PosixProcessEnd process;
  PosixDesktopFiles files;
  PosixWorkers workers;
  PosixClock clock;
  qt::QtWindowThread windowThread;
  qt::QtMessageBoxes messageBoxes;
  qt::QtPickers pickers;
  Desktop desktop{.messageBoxes = messageBoxes,
                  .pickers = pickers,
                  .shell = shell,
                  .titles = titles,
                  .process = process,
                  .environment = environment,
                  .settings = settings,
                  .files = files,
                  .clock = clock,
                  .windowThread = windowThread,
                  .workers = workers};
  qt::QtViewFactory views;
  AppContext app(desktop, views);
  CZazoRavazuApp program(app);

  // Qt has taken its own options (-platform and the like) out of the arguments by now.
  std::vector<std::string> arguments;
  const QStringList given = QApplication::arguments();
  for (qsizetype i = 1; i < given.size(); ++i) arguments.push_back(given[i].toStdString());
  program.InitInstance(arguments);
  return 0;
}
