#pragma once

#include <QImage>
#include <QWidget>

namespace tarnwick::qt {

// The client area of a skinned window: its picture is drawn at (0,0) in its own size, and the
// window's controls lie on top of it with transparent backgrounds.
class SkinnedArea final : public QWidget {
 public:
  explicit SkinnedArea(QWidget* parent = nullptr);

  // A null picture leaves the area in the window's plain colour.
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace tarnwick::qt
