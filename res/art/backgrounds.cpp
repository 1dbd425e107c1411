#include "backgrounds.h"

#include <array>
#include <cmath>
#include <string_view>

#include "canvas.h"
#include "dialog_units.h"
#include "icons.h"
#include "motifs.h"
#include "palette.h"
#include "pixel_font.h"

namespace tarnwick::art {
namespace {

namespace pal = palette;

constexpr int kLargeWidth = PixelsAcross(484);
constexpr int kLargeHeight = PixelsDown(290);
// The controls of both large windows start right of this.
constexpr int kSidebarWidth = 200;
constexpr int kAccentHeight = 4;

void DrawHeader(Canvas& canvas) {
  const int width = canvas.Width();
  canvas.Paint(RoundedRect(0, 0, width, pal::kHeaderHeight, 0),
               VerticalGradient(0, pal::kHeaderTop, pal::kHeaderHeight, pal::kHeaderBottom));
  // Large faint rings on the right give the band some depth without crowding the toolbar.
  canvas.Paint(Intersect(Ring(width - 120, -30, 90, 18), RoundedRect(0, 0, width, pal::kHeaderHeight, 0)),
               pal::kWhite, 0.05);
  canvas.Paint(Intersect(Ring(width - 20, 60, 70, 12), RoundedRect(0, 0, width, pal::kHeaderHeight, 0)),
               pal::kWhite, 0.05);
  canvas.Paint(RoundedRect(0, pal::kHeaderHeight, width, 6, 0), pal::kInk, 0.12, 4);

  constexpr std::string_view kName = "Tarnwick";
  constexpr std::string_view kTagline = "PDF repair";
  const double nameRight = width - 24;
  DrawText(canvas, nameRight - TextWidth(kName) * 2, 11, kName, Solid(pal::kWhite), 2);
  DrawText(canvas, nameRight - TextWidth(kTagline), 32, kTagline, Solid(pal::kTealMist), 1, 0.85);
}

// The sidebar shows the document motif and the three steps of a job, the window's own step
// highlighted.
void DrawSidebar(Canvas& canvas, JobStep current) {
  const int height = canvas.Height();
  canvas.Paint(RoundedRect(0, pal::kHeaderHeight, kSidebarWidth, height - pal::kHeaderHeight, 0),
               VerticalGradient(pal::kHeaderHeight, pal::kSidebar, height, FromHex(0xdbe7e8)));
  canvas.Paint(RoundedRect(kSidebarWidth - 1, pal::kHeaderHeight, 1, height - pal::kHeaderHeight, 0),
               pal::kLine);
  DrawRepairedDocument(canvas, (kSidebarWidth - 112) / 2.0, 78, 112, pal::kWhite);

  constexpr std::array<std::string_view, 3> kSteps = {"Select PDF files", "Repair", "Preview and save"};
  constexpr std::array<std::string_view, 3> kNumbers = {"1", "2", "3"};
  constexpr double kCircleX = 40;
  constexpr double kFirstY = 240;
  constexpr double kPitch = 44;
  constexpr double kRadius = 11;
  canvas.Paint(Line(kCircleX, kFirstY, kCircleX, kFirstY + 2 * kPitch, 2), pal::kLine);
  for (std::size_t i = 0; i < kSteps.size(); ++i) {
    const double y = kFirstY + kPitch * static_cast<double>(i);
    const bool isCurrent = i == static_cast<std::size_t>(current);
    const bool isDone = i < static_cast<std::size_t>(current);
    if (isCurrent) {
      canvas.Paint(Circle(kCircleX, y, kRadius + 4), pal::kTeal, 0.15);
      canvas.Paint(Circle(kCircleX, y, kRadius), pal::kTeal);
    } else {
      canvas.Paint(Circle(kCircleX, y, kRadius), pal::kWhite);
      canvas.Paint(Ring(kCircleX, y, kRadius - 0.75, 1.5), isDone ? pal::kTeal : pal::kMuted);
    }
    const Colour numberInk = isCurrent ? pal::kWhite : (isDone ? pal::kTeal : pal::kMuted);
    if (isDone) {
      canvas.Paint(PlaceIcon(Icon::kCheck, kCircleX - 7, y - 7, 14), pal::kTeal);
    } else {
      DrawText(canvas, std::round(kCircleX - TextWidth(kNumbers[i]) / 2.0), std::round(y - 3.5),
               kNumbers[i], Solid(numberInk));
    }
    DrawText(canvas, kCircleX + kRadius + 10, std::round(y - 3.5), kSteps[i],
             Solid(isCurrent ? pal::kInk : pal::kMuted));
  }
}

// A white card with a soft shadow where a control (the file table, the document pane) will sit,
// so that the control appears to float above the panel.
void DrawCard(Canvas& canvas, double x, double y, double width, double height) {
  DrawShadow(canvas, x, y, width, height, 3);
  canvas.Paint(RoundedRect(x - 1, y - 1, width + 2, height + 2, 3), pal::kLine);
  canvas.Paint(RoundedRect(x, y, width, height, 2), pal::kWhite);
}

Canvas LargeWindow(JobStep step) {
  Canvas canvas(kLargeWidth, kLargeHeight, pal::kPanel);
  DrawSidebar(canvas, step);
  DrawHeader(canvas);
  return canvas;
}

// Dialogs: the plain panel under a thin teal accent, with one faint picture in a free corner.
Canvas Dialog(int widthUnits, int heightUnits) {
  const int width = PixelsAcross(widthUnits);
  Canvas canvas(width, PixelsDown(heightUnits), pal::kPanel);
  canvas.Paint(RoundedRect(0, 0, width, kAccentHeight, 0),
               DiagonalGradient({0, 0, double(width), kAccentHeight}, pal::kTealLight, pal::kTealDark));
  return canvas;
}

}  // namespace

BmpImage MainWindowBackground() {
  Canvas canvas = LargeWindow(JobStep::kSelect);
  // The file table: 267 × 108 units at (149, 76).
  DrawCard(canvas, PixelsAcross(149), PixelsDown(76), PixelsAcross(267), PixelsDown(108));
  return canvas.ToImage();
}

BmpImage PreviewWindowBackground() {
  Canvas canvas = LargeWindow(JobStep::kPreview);
  // The document pane sits at (215, 120) pixels, 500 wide and as high as the window's client
  // height less 200.
  DrawCard(canvas, 215, 120, 500, kLargeHeight - 200);
  return canvas.ToImage();
}

BmpImage AnalysisBackground() {
  Canvas canvas = Dialog(214, 97);
  canvas.Paint(PlaceIcon(Icon::kWrench, canvas.Width() - 52, canvas.Height() - 46, 40), pal::kTeal, 0.09);
  return canvas.ToImage();
}

BmpImage SavingBackground() {
  Canvas canvas = Dialog(348, 193);
  canvas.Paint(PlaceIcon(Icon::kDisks, canvas.Width() - 70, canvas.Height() - 70, 60), pal::kTeal, 0.08);
  return canvas.ToImage();
}

BmpImage CompletionBackground() {
  Canvas canvas = Dialog(186, 73);
  // Left of the "Process completed successfully." label at (38, 25) units.
  DrawCheckBadge(canvas, 34, PixelsDown(25) + 8, 11);
  return canvas.ToImage();
}

}  // namespace tarnwick::art
