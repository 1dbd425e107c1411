#pragma once

#include <QRect>
#include <QSize>

#include "layout_tables.h"

namespace tarnwick::qt {

using layouts::DialogRect;

// The templates measure in units of their 8-point font: at 96 dpi one horizontal unit is 1.5 px
// and one vertical unit 1.625 px. Edges are converted and rounded, as the system's own mapping
// does, so that controls touching in the template touch on screen.
int HorizontalPixels(int units);
int VerticalPixels(int units);
QRect ToPixels(const DialogRect& rect);
QSize ToPixels(int width, int height);

}  // namespace tarnwick::qt
