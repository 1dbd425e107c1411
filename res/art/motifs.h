#pragma once

#include "canvas.h"

// Pictures shared by the backgrounds, the splash and the application icon.
namespace tarnwick::art {

// A PDF page with a red "PDF" band and a green round badge with a check mark at its lower right,
// in a square `size` pixels wide whose top-left corner is (x, y).
void DrawRepairedDocument(Canvas& canvas, double x, double y, double size, Colour page);

// A soft drop shadow under the rectangle, as if it floated a little above the panel.
void DrawShadow(Canvas& canvas, double x, double y, double width, double height, double radius);

// A round badge with a white check mark.
void DrawCheckBadge(Canvas& canvas, double centreX, double centreY, double radius);

}  // namespace tarnwick::art
