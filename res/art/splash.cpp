#include "splash.h"

#include <cmath>
#include <string_view>

#include "canvas.h"
#include "motifs.h"
#include "palette.h"
#include "pixel_font.h"

namespace tarnwick::art {
namespace {

namespace pal = palette;

constexpr int kSplashWidth = 480;
constexpr int kSplashHeight = 300;
constexpr int kIconSide = 256;

void DrawTealCard(Canvas& canvas, const Shape& card) {
  const double width = canvas.Width();
  const double height = canvas.Height();
  canvas.Paint(card, DiagonalGradient({0, 0, width, height}, pal::kTealLight, pal::kTealDark));
  // Two large faint circles for depth, kept inside the card.
  canvas.Paint(Intersect(Circle(width * 0.92, height * 0.05, height * 0.55), card), pal::kWhite, 0.06);
  canvas.Paint(Intersect(Circle(width * 0.05, height * 1.05, height * 0.45), card), pal::kWhite, 0.05);
}

}  // namespace

BmpImage SplashPicture() {
  Canvas canvas(kSplashWidth, kSplashHeight, pal::kTealDark);
  const Shape card = RoundedRect(0, 0, kSplashWidth, kSplashHeight, 34);
  DrawTealCard(canvas, card);
  // The edge of a shaped window cannot blend with the unknown desktop behind it, so the rim is a
  // thin light line that looks deliberate at any pixel.
  canvas.Paint(Subtract(card, Inflate(card, -2)), pal::kTealMist, 0.55);

  DrawRepairedDocument(canvas, 26, 62, 176, pal::kWhite);

  constexpr std::string_view kName = "Tarnwick";
  constexpr std::string_view kTagline = "PDF repair";
  constexpr std::string_view kLine = "Rebuilds damaged PDF files";
  constexpr double kTextLeft = 214;
  DrawText(canvas, kTextLeft, 96, kName, Solid(pal::kWhite), 6);
  DrawText(canvas, kTextLeft + 2, 158, kTagline, Solid(pal::kTealMist), 3);
  canvas.Paint(RoundedRect(kTextLeft + 2, 196, 64, 3, 1.5), pal::kAmber);
  DrawText(canvas, kTextLeft + 2, 212, kLine, Solid(pal::kWhite), 1, 0.85);
  return CutOut(canvas, card, pal::kSplashKey, true);
}

BmpImage ApplicationIcon() {
  Canvas canvas(kIconSide, kIconSide, pal::kTealDark);
  const Shape tile = RoundedRect(8, 8, kIconSide - 16, kIconSide - 16, 52);
  DrawTealCard(canvas, tile);
  DrawRepairedDocument(canvas, 20, 22, 216, pal::kWhite);
  return CutOut(canvas, tile, pal::kSplashKey, true);
}

}  // namespace tarnwick::art
