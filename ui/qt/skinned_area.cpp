#include "skinned_area.h"

#include <QPainter>

namespace tarnwick::qt {

SkinnedArea::SkinnedArea(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

void SkinnedArea::SetPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void SkinnedArea::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), picture_);
}

}  // namespace tarnwick::qt
