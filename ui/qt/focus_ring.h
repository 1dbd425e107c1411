#pragma once

#include <QFocusFrame>
#include <QObject>
#include <QPointer>

class QWidget;

namespace tarnwick::qt {

// A frame around whichever control of a window has the keyboard focus, so that the focus shows
// on every control: tables and panes show it faintly or not at all on a skin. Bitmap buttons
// draw a focus frame of their own and get none.
class FocusRing final : public QObject {
 public:
  explicit FocusRing(QWidget* window);

  // The control that wears the frame; null when none does.
  QWidget* Framed() const;

 private:
  void Follow(QWidget* focused);

  QWidget* window_;
  QPointer<QFocusFrame> frame_;  // goes with the window's controls, which it sits among
};

}  // namespace tarnwick::qt
