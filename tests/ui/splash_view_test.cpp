// The splash screen's window under the splash logic: its shape from a known bitmap and key
// colour, its place on the screen, fading, and the timer that hides it.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "qt_splash_view.h"
#include "splash_screen.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;

namespace {

constexpr Rgb kKey{255, 0, 240};
constexpr Rgb kInk{10, 20, 30};
constexpr unsigned kAllStyles = CSplashScreenEx::kFadeIn | CSplashScreenEx::kFadeOut |
                                CSplashScreenEx::kDropShadow | CSplashScreenEx::kCentre;

// 30 × 20 in the key colour, with a 10 × 6 block at (5,4) and one pixel in the last column of
// row 10, after a key pixel.
BmpImage KnownPicture() {
  BmpImage image = test::FramedImage(30, 20, kKey, kKey, 0);
  for (int y = 4; y < 10; ++y) {
    for (int x = 5; x < 15; ++x) image.pixels[static_cast<std::size_t>(y * 30 + x)] = kInk;
  }
  image.pixels[10 * 30 + 29] = kInk;
  return image;
}

struct Splash {
  explicit Splash(unsigned timeout = 0, unsigned style = kAllStyles) {
    auto owned = std::make_unique<QtSplashView>();
    view = owned.get();
    splash = std::make_unique<CSplashScreenEx>(std::move(owned));
    splash->CreateSplash(nullptr, timeout, style);
  }
  QtSplashView* view;
  std::unique_ptr<CSplashScreenEx> splash;
};

}  // namespace

class SplashViewTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void windowIsAFramelessTopmostToolWindow() {
    Splash splash;
    const Qt::WindowFlags flags = splash.view->windowFlags();
    QVERIFY(flags.testFlag(Qt::Tool));
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(splash.view->windowTitle().isEmpty());
  }

  void maskIsThePictureWithoutTheKeyColour() {
    QTemporaryDir folder;
    const std::string path = folder.filePath("Flash.bmp").toStdString();
    test::WriteBitmap(path, KnownPicture());
    Splash splash;
    QVERIFY(splash.splash->LoadPicture(path, 255, 0, 240));
    const QRegion expected = QRegion(5, 4, 10, 6) + QRegion(29, 10, 1, 1);
    QCOMPARE(splash.view->mask(), expected);
    QCOMPARE(splash.view->Picture().pixelColor(5, 4), QColor(10, 20, 30));

    splash.splash->ShowSplash();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(splash.view->geometry(),
             QRect((screen.width() - 30) / 2, (screen.height() - 20) / 2, 30, 20));
    QVERIFY(splash.view->isVisible());
    const QImage shown = splash.view->grab().toImage();
    QCOMPARE(shown.pixelColor(6, 5), QColor(10, 20, 30));
  }

  void pictureAllInTheKeyColourShowsNothing() {
    QTemporaryDir folder;
    const std::string path = folder.filePath("Flash.bmp").toStdString();
    test::WriteBitmap(path, test::FramedImage(8, 8, kKey, kKey, 0));
    Splash splash;
    QVERIFY(splash.splash->LoadPicture(path, 255, 0, 240));
    QVERIFY(!splash.view->mask().isEmpty());  // a mask is set...
    QVERIFY(splash.view->mask().intersected(QRect(0, 0, 8, 8)).isEmpty());  // ...covering nothing
  }

  void fadesTakeTheirTimeAndEndShownOrHidden() {
    QtSplashView view;
    view.Create(nullptr, false);
    view.Place(10, 10, 30, 20);
    QElapsedTimer clock;
    clock.start();
    view.FadeIn(500);
    QVERIFY(clock.elapsed() >= 500);
    QVERIFY(view.isVisible());
    QCOMPARE(view.windowOpacity(), 1.0);
    clock.restart();
    view.FadeOut(200);
    QVERIFY(clock.elapsed() >= 200);
    QVERIFY(!view.isVisible());
  }

  void withoutOpacityTheSplashAppearsAndGoesAtOnce() {
    QCOMPARE(QGuiApplication::platformName(), QString("offscreen"));
    Splash splash;
    QVERIFY(!splash.view->SupportsFading());
    splash.splash->ShowSplash();
    QVERIFY(splash.view->isVisible());
    QCOMPARE(splash.view->windowOpacity(), 1.0);
    splash.splash->HideSplash();
    QVERIFY(!splash.view->isVisible());
    QVERIFY(splash.splash->Destroyed());
  }

  void timerHidesTheSplashOnce() {
    QTemporaryDir folder;
    const std::string path = folder.filePath("Flash.bmp").toStdString();
    test::WriteBitmap(path, KnownPicture());
    Splash splash(100, CSplashScreenEx::kCentre);
    splash.splash->LoadPicture(path, 255, 0, 240);
    splash.splash->ShowSplash();
    QVERIFY(splash.view->TimerRunning(CSplashScreenEx::kHideTimer));
    QVERIFY(splash.view->isVisible());
    QTRY_VERIFY(splash.splash->Destroyed());
    QVERIFY(!splash.view->isVisible());
    QVERIFY(!splash.view->TimerRunning(CSplashScreenEx::kHideTimer));
  }
};

QTEST_MAIN(SplashViewTest)
#include "splash_view_test.moc"
