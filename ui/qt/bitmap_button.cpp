#include "bitmap_button.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "bitmap_image.h"

namespace tarnwick::qt {

BitmapButton::BitmapButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_Hover);
}

void BitmapButton::SetLook(const ButtonLook& look) {
  look_ = look;
  normal_ = WithTransparentColour(LoadBitmapFile(look.normalBitmap), look.normalTransparent);
  hover_ = look.hoverBitmap == look.normalBitmap && look.hoverTransparent == look.normalTransparent
               ? normal_
               : WithTransparentColour(LoadBitmapFile(look.hoverBitmap), look.hoverTransparent);
  if (!look.caption.empty()) setText(QString::fromStdString(look.caption));
  setToolTip(QString::fromStdString(look.tooltip));
  // Screen readers name the button by what its picture says.
  setAccessibleName(QString::fromStdString(look.caption.empty() ? look.tooltip : look.caption));
  update();
}

QSize BitmapButton::sizeHint() const {
  return normal_.isNull() ? QSize(80, 24) : normal_.size();
}

void BitmapButton::paintEvent(QPaintEvent*) {
  const QImage& image = hovered_ && !hover_.isNull() ? hover_ : normal_;
  if (image.isNull()) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text().isEmpty() ? toolTip() : text();
    if (isDown()) option.state |= QStyle::State_Sunken;
    painter.drawControl(QStyle::CE_PushButton, option);
    if (hasFocus()) DrawFocusFrame(painter);
    return;
  }
  QPainter painter(this);
  // Like the skinned buttons it stands for, the picture sits in the middle of the control and
  // moves by a pixel while pressed.
  QPoint origin((width() - image.width()) / 2, (height() - image.height()) / 2);
  if (isDown()) origin += QPoint(1, 1);
  painter.drawImage(origin, image);
  if (hasFocus()) DrawFocusFrame(painter);
}

void BitmapButton::DrawFocusFrame(QPainter& painter) const {
  // Styles draw their own focus frame only after a Tab, in colours that can vanish on a skin;
  // black dots on white show on any picture.
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(frame);
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.drawRect(frame);
}

void BitmapButton::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !event->isAutoRepeat()) {
    click();
    event->accept();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void BitmapButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void BitmapButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace tarnwick::qt
