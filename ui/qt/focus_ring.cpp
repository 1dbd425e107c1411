#include "focus_ring.h"

#include <QApplication>

#include "bitmap_button.h"

namespace tarnwick::qt {

FocusRing::FocusRing(QWidget* window)
    : QObject(window), window_(window), frame_(new QFocusFrame(window)) {
  frame_->hide();
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* focused) { Follow(focused); });
}

QWidget* FocusRing::Framed() const { return frame_ ? frame_->widget() : nullptr; }

void FocusRing::Follow(QWidget* focused) {
  if (!frame_) return;
  const bool ours = focused && focused != window_ && focused->window() == window_ &&
                    !qobject_cast<BitmapButton*>(focused);
  frame_->setWidget(ours ? focused : nullptr);
}

}  // namespace tarnwick::qt
