#include "qt_splash_view.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPropertyAnimation>
#include <QRegion>
#include <QScreen>

#include "bitmap_image.h"

namespace tarnwick::qt {

QtSplashView::QtSplashView() {
  setAttribute(Qt::WA_ShowWithoutActivating);
  // The picture covers the whole window; there is no background to erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

QtSplashView::~QtSplashView() = default;

bool QtSplashView::Create(WindowHandle* parent, bool) {
  // Qt has no drop shadow of its own to ask for; the window manager gives one or not.
  setParent(WidgetOf(parent), Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                  Qt::WindowDoesNotAcceptFocus);
  setGeometry(0, 0, 0, 0);
  return true;
}

ScreenSize QtSplashView::ScreenClientSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {screen->geometry().width(), screen->geometry().height()};
}

void QtSplashView::SetPicture(const BmpImage& picture) {
  picture_ = ToQImage(picture);
  update();
}

void QtSplashView::SetShape(const std::vector<ShapeRect>& shape) {
  QRegion region;
  for (const ShapeRect& rect : shape) {
    region += QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  }
  // An empty mask would mean "no mask"; a shape without pixels must show nothing, so the mask
  // then lies wholly outside the window.
  setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
  update();
}

void QtSplashView::Place(int x, int y, int width, int height) {
  setGeometry(x, y, width, height);
}

bool QtSplashView::SupportsFading() const {
  // Wayland gives clients no say over a window's opacity, and the platforms without a screen
  // have no opacity at all.
  const QString platform = QGuiApplication::platformName();
  return !platform.startsWith(QStringLiteral("wayland")) && platform != QStringLiteral("offscreen") &&
         platform != QStringLiteral("minimal");
}

void QtSplashView::Fade(double from, double to, unsigned milliseconds) {
  QPropertyAnimation animation(this, "windowOpacity");
  animation.setDuration(static_cast<int>(milliseconds));
  animation.setStartValue(from);
  animation.setEndValue(to);
  QEventLoop loop;
  connect(&animation, &QPropertyAnimation::finished, &loop, &QEventLoop::quit);
  animation.start();
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtSplashView::FadeIn(unsigned milliseconds) {
  setWindowOpacity(0.0);
  show();
  Fade(0.0, 1.0, milliseconds);
}

void QtSplashView::Show() {
  setWindowOpacity(1.0);
  show();
}

void QtSplashView::FadeOut(unsigned milliseconds) {
  Fade(windowOpacity(), 0.0, milliseconds);
  hide();
}

void QtSplashView::Hide() { hide(); }

void QtSplashView::StartTimer(int id, unsigned milliseconds) {
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(static_cast<int>(milliseconds));
  connect(timer.get(), &QTimer::timeout, this, [this, id] {
    if (timerHandler_) timerHandler_(id);
  });
  timer->start();
  timers_[id] = std::move(timer);
}

void QtSplashView::StopTimer(int id) {
  const auto timer = timers_.find(id);
  if (timer == timers_.end()) return;
  // The timer may be the one whose expiry is being handled; it goes once that is over.
  timer->second->stop();
  timer->second.release()->deleteLater();
  timers_.erase(timer);
}

void QtSplashView::Destroy() {
  while (!timers_.empty()) StopTimer(timers_.begin()->first);
  hide();
  destroy();
}

void QtSplashView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!picture_.isNull()) painter.drawImage(QPoint(0, 0), picture_);
}

}  // namespace tarnwick::qt
