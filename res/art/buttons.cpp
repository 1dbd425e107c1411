#include "buttons.h"

#include <cmath>

#include "canvas.h"
#include "dialog_units.h"
#include "palette.h"
#include "pixel_font.h"

namespace tarnwick::art {
namespace {

namespace pal = palette;

constexpr int kToolbarWidth = PixelsAcross(34);
constexpr int kToolbarHeight = PixelsDown(28);
// Where the buttons' top edge sits in the header band, so that their anti-aliased rims blend
// into the band's gradient at the right shade.
constexpr double kToolbarTopInBand = 2;
constexpr double kToolbarIconSize = 22;
constexpr double kToolbarCaptionTop = 30;

constexpr double kPillIconSize = 13;
constexpr double kPillIconGap = 4;
// Captions keep clear of the pill's round ends.
constexpr double kPillEndPadding = 8;

}  // namespace

BmpImage ToolbarButton(Icon icon, std::string_view caption, ToolbarLook look, Rgb key) {
  Canvas canvas(kToolbarWidth, kToolbarHeight, pal::kHeaderTop);
  const Shape whole = RoundedRect(0, 0, kToolbarWidth, kToolbarHeight, 0);
  canvas.Paint(whole, VerticalGradient(-kToolbarTopInBand, pal::kHeaderTop,
                                       pal::kHeaderHeight - kToolbarTopInBand, pal::kHeaderBottom));

  const Shape tile = RoundedRect(2, 1.5, kToolbarWidth - 4, kToolbarHeight - 3, 8);
  Colour ink = pal::kWhite;
  double inkOpacity = 1;
  switch (look) {
    case ToolbarLook::kNormal:
      canvas.Paint(tile, pal::kWhite, 0.10);
      canvas.Paint(Subtract(tile, Inflate(tile, -1)), pal::kWhite, 0.14);
      break;
    case ToolbarLook::kHover:
      canvas.Paint(tile, VerticalGradient(0, pal::kWhite, kToolbarHeight, pal::kTealMist));
      canvas.Paint(Subtract(tile, Inflate(tile, -1)), pal::kTealLight, 0.5);
      ink = pal::kTeal;
      break;
    case ToolbarLook::kDisabled:
      canvas.Paint(tile, pal::kWhite, 0.05);
      inkOpacity = 0.38;
      break;
  }
  const Colour captionInk = look == ToolbarLook::kHover ? pal::kTealDark : ink;
  canvas.Paint(PlaceIcon(icon, (kToolbarWidth - kToolbarIconSize) / 2, 5, kToolbarIconSize), ink,
               inkOpacity);
  const double captionLeft = std::floor((kToolbarWidth - TextWidth(caption)) / 2.0);
  DrawText(canvas, captionLeft, kToolbarCaptionTop, caption, Solid(captionInk), 1, inkOpacity);
  return CutOut(canvas, tile, key);
}

BmpImage PillButton(int width, int height, std::optional<Icon> icon, std::string_view caption,
                    PillLook look, Rgb key, std::optional<Colour> iconInk) {
  Canvas canvas(width, height, pal::kPanel);
  const Shape pill = RoundedRect(0.5, 0.5, width - 1, height - 1, height / 2.0);
  const Shape rim = Subtract(pill, Inflate(pill, -1));
  Colour ink = pal::kWhite;
  switch (look) {
    case PillLook::kPrimary:
      canvas.Paint(pill, VerticalGradient(0, pal::kTealLight, height, pal::kTeal));
      canvas.Paint(rim, pal::kTealDark, 0.6);
      break;
    case PillLook::kSecondary:
      canvas.Paint(pill, VerticalGradient(0, pal::kWhite, height, FromHex(0xeef5f6)));
      canvas.Paint(rim, pal::kTeal);
      ink = pal::kTealDark;
      break;
    case PillLook::kDisabled:
      canvas.Paint(pill, pal::kDisabledFill);
      canvas.Paint(rim, pal::kLine);
      ink = pal::kMuted;
      break;
  }

  const double textWidth = TextWidth(caption);
  const bool withIcon =
      icon && kPillIconSize + kPillIconGap + textWidth <= width - 2 * kPillEndPadding;
  const double contentWidth = textWidth + (withIcon ? kPillIconSize + kPillIconGap : 0);
  double left = std::floor((width - contentWidth) / 2);
  if (withIcon) {
    const Colour tint = look == PillLook::kDisabled ? ink : iconInk.value_or(ink);
    canvas.Paint(PlaceIcon(*icon, left, (height - kPillIconSize) / 2, kPillIconSize), tint);
    left += kPillIconSize + kPillIconGap;
  }
  DrawText(canvas, left, std::floor((height - kFontCapHeight) / 2.0), caption, Solid(ink));
  return CutOut(canvas, pill, key);
}

}  // namespace tarnwick::art
