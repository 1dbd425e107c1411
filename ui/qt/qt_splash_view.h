#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "splash_view.h"
#include "widget_handle.h"

namespace tarnwick::qt {

// The splash screen's window: frameless, kept on top, never activated, shaped by a mask and
// drawing its picture at (0,0). Fades change the window's opacity and last as long as asked,
// keeping other windows painted but taking no input, as the system's blocking animation did.
class QtSplashView final : public QWidget, public SplashView, public WidgetHandle {
 public:
  QtSplashView();
  ~QtSplashView() override;


  bool Create(WindowHandle* parent, bool dropShadow) override;
  ScreenSize ScreenClientSize() const override;
  void SetPicture(const BmpImage& picture) override;
  void SetShape(const std::vector<ShapeRect>& shape) override;
  void Place(int x, int y, int width, int height) override;
  bool SupportsFading() const override;
  void FadeIn(unsigned milliseconds) override;
  void Show() override;
  void FadeOut(unsigned milliseconds) override;
  void Hide() override;
  void SetTimerListener(std::function<void(int id)> listener) override {
    timerHandler_ = std::move(listener);
  }
  void StartTimer(int id, unsigned milliseconds) override;
  void StopTimer(int id) override;
  void Destroy() override;

  QWidget* Widget() override { return this; }
  const QImage& Picture() const { return picture_; }
  bool TimerRunning(int id) const { return timers_.contains(id); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Fade(double from, double to, unsigned milliseconds);

  QImage picture_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  std::function<void(int)> timerHandler_;
};

}  // namespace tarnwick::qt
