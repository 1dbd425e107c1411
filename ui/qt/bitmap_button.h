#pragma once

#include <QAbstractButton>
#include <QImage>

class QPainter;

#include "button_look.h"

namespace tarnwick::qt {

// A button drawn by its bitmaps: the normal one while the mouse is away, the hover one while it
// is over the button, each with its transparent colour left out so that the window's skin shows
// through. Without a readable bitmap it falls back to a plain push button with its caption (or
// tooltip), so that a program installed without its skin stays usable. Enter presses it as
// Space does, and it wears a focus frame while it has the keyboard focus.
class BitmapButton final : public QAbstractButton {
  Q_OBJECT

 public:
  explicit BitmapButton(QWidget* parent = nullptr);

  void SetLook(const ButtonLook& look);
  const ButtonLook& Look() const { return look_; }
  // The images as drawn, transparent colour removed; null when a bitmap could not be read.
  const QImage& NormalImage() const { return normal_; }
  const QImage& HoverImage() const { return hover_; }
  bool Hovered() const { return hovered_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void DrawFocusFrame(QPainter& painter) const;

  ButtonLook look_;
  QImage normal_;
  QImage hover_;
  bool hovered_ = false;
};

}  // namespace tarnwick::qt
