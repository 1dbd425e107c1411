#include "ui_test_environment.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <cstdlib>
#include <stdexcept>

namespace tarnwick::test {

void PrepareUiTestEnvironment() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Lives as long as the test program; removed by the system's temporary-folder policy if the
  // program is killed.
  static QTemporaryDir home;
  const QByteArray root = home.path().toLocal8Bit();
  qputenv("XDG_CONFIG_HOME", root + "/config");
  qputenv("XDG_RUNTIME_DIR", root + "/runtime");
  qputenv("TMPDIR", root);
  qputenv("TARNWICK_REGISTRY", root + "/registry.ini");
  QDir().mkpath(home.path() + "/runtime");
  QFile::setPermissions(home.path() + "/runtime",
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

BmpImage FramedImage(int width, int height, Rgb inside, Rgb frame, int border) {
  BmpImage image{width, height, {}};
  image.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool onFrame =
          x < border || y < border || x >= width - border || y >= height - border;
      image.pixels.push_back(onFrame ? frame : inside);
    }
  }
  return image;
}

void WriteBitmap(const std::string& path, const BmpImage& image) {
  if (!WriteBmp24(path, image)) throw std::runtime_error("cannot write " + path);
}

QWidget* Control(QWidget* window, int id) {
  return window->findChild<QWidget*>(QString::number(id));
}

QColor ClientPixel(QWidget* clientArea, QPoint point) {
  return clientArea->grab().toImage().pixelColor(point);
}

bool ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  return QTest::qWaitForWindowActive(window);
}

QMenu* MenuTitled(QWidget* window, const QString& title) {
  for (QAction* menu : window->findChild<QMenuBar*>()->actions()) {
    if (QString(menu->text()).remove('&') == title) return menu->menu();
  }
  return nullptr;
}

QAction* MenuItem(QWidget* window, int id) {
  return window->findChild<QMenuBar*>()->findChild<QAction*>(QString::number(id));
}

QColor ColourOf(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

}  // namespace tarnwick::test
