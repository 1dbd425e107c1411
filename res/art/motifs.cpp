#include "motifs.h"

#include <algorithm>
#include <cmath>

#include "icons.h"
#include "palette.h"
#include "pixel_font.h"

namespace tarnwick::art {

void DrawRepairedDocument(Canvas& canvas, double x, double y, double size, Colour page) {
  // Positions on the document icon's 24-unit grid: the page spans 5..19 across, 2..22 down.
  const double unit = size / kIconGrid;
  auto gx = [&](double v) { return x + v * unit; };
  auto gy = [&](double v) { return y + v * unit; };
  const Shape document = PlaceIcon(Icon::kDocument, x, y, size);
  canvas.Paint(Offset(document, 0, unit * 0.6), palette::kInk, 0.18, unit * 1.2);
  canvas.Paint(document, page);

  const Shape band = RoundedRect(gx(3.2), gy(8.5), 12 * unit, 4.6 * unit, unit * 0.8);
  canvas.Paint(band, palette::kPdfRed);
  const double textScale = std::max(1.0, std::floor(4.6 * unit / 10));
  const double textWidth = TextWidth("PDF") * textScale;
  DrawText(canvas, std::round(gx(3.2) + (12 * unit - textWidth) / 2),
           std::round(gy(8.5) + (4.6 * unit - kFontCapHeight * textScale) / 2), "PDF",
           Solid(palette::kWhite), textScale);

  for (int line = 0; line < 3; ++line) {
    const double lineY = gy(15.5 + 2 * line);
    canvas.Paint(Line(gx(7.5), lineY, gx(line == 2 ? 12 : 16), lineY, unit * 0.7), palette::kLine);
  }
  DrawCheckBadge(canvas, gx(18), gy(19), 4.4 * unit);
}

void DrawShadow(Canvas& canvas, double x, double y, double width, double height, double radius) {
  canvas.Paint(RoundedRect(x, y + 2, width, height, radius), palette::kInk, 0.16, 8);
}

void DrawCheckBadge(Canvas& canvas, double centreX, double centreY, double radius) {
  canvas.Paint(Circle(centreX, centreY, radius + 1.5), palette::kWhite);
  canvas.Paint(Circle(centreX, centreY, radius), palette::kGreen);
  const double size = radius * 1.5;
  canvas.Paint(PlaceIcon(Icon::kCheck, centreX - size / 2, centreY - size / 2, size), palette::kWhite);
}

}  // namespace tarnwick::art
