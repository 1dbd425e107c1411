#include "dialog_controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

#include "bitmap_button.h"
#include "control_ids.h"

namespace tarnwick::qt {
namespace {

template <typename Control>
Control* Place(Control* control, int id, const DialogRect& rect) {
  if (id != ids::kStatic) control->setObjectName(IdName(id));
  control->setGeometry(ToPixels(rect));
  return control;
}

}  // namespace

QString IdName(int id) { return QString::number(id); }

QLabel* AddLabel(QWidget* area, int id, const QString& text, const DialogRect& rect) {
  auto* label = Place(new QLabel(text, area), id, rect);
  // Static texts of the templates keep their spaces and do not wrap unless they are tall.
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(rect.height > 10);
  label->setAttribute(Qt::WA_TranslucentBackground);
  return label;
}

BitmapButton* AddButton(QWidget* area, int id, const QString& text, const DialogRect& rect) {
  auto* button = Place(new BitmapButton(area), id, rect);
  button->setText(text);
  return button;
}

QProgressBar* AddProgressBar(QWidget* area, int id, const DialogRect& rect) {
  auto* bar = Place(new QProgressBar(area), id, rect);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

QGroupBox* AddFrame(QWidget* area, const DialogRect& rect) {
  auto* frame = Place(new QGroupBox(area), ids::kStatic, rect);
  frame->setAttribute(Qt::WA_TransparentForMouseEvents);
  frame->lower();
  return frame;
}

}  // namespace tarnwick::qt
