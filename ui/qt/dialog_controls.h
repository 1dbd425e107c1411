#pragma once

#include <QString>

#include "dialog_units.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QWidget;

namespace tarnwick::qt {

class BitmapButton;

// Controls placed as a dialog template places them. A control with an id is named by the id's
// decimal text, so that the window can address it and tests can find it; static controls
// (ids::kStatic) are not named.
QLabel* AddLabel(QWidget* area, int id, const QString& text, const DialogRect& rect);
BitmapButton* AddButton(QWidget* area, int id, const QString& text, const DialogRect& rect);
QProgressBar* AddProgressBar(QWidget* area, int id, const DialogRect& rect);
// A frame around other controls: drawn beneath them and deaf to the mouse.
QGroupBox* AddFrame(QWidget* area, const DialogRect& rect);

QString IdName(int id);

}  // namespace tarnwick::qt
