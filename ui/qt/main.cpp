// tarnwick: the desktop program. Picks damaged PDF files, repairs them, shows the repaired copies
// and saves them, in Qt windows on top of the toolkit-free workflow.
#include <QApplication>
#include <QIcon>
#include <string>
#include <vector>

#include "app_context.h"
#include "application.h"
#include "qt_desktop.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tarnwick"));
  QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
  // Lets the desktop match the windows to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("tarnwick"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarnwick")));

  using namespace tarnwick;
  qt::QtDesktop desktop;
  AppContext app(desktop.Services(), desktop.Views());
  CZazoRavazuApp program(app);

  // Qt has taken its own options (-platform and the like) out of the arguments by now.
  std::vector<std::string> arguments;
  const QStringList given = QApplication::arguments();
  for (qsizetype i = 1; i < given.size(); ++i) arguments.push_back(given[i].toStdString());
  program.InitInstance(arguments);
  return 0;
}
