#include <windows.h>
// The common controls' header needs the window types declared first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "bitmap_button.h"
#include "case_name.h"
#include "skin_background.h"
#include "test_windows.h"

namespace tarnwick::win32 {
namespace {

using test::PrintTo;

constexpr Rgb kKey{255, 0, 255};
constexpr Rgb kNormalBody{200, 10, 10};
constexpr Rgb kHoverBody{10, 10, 200};
constexpr int kKeySquare = 6;
constexpr POINT kButtonAt{30, 40};
constexpr SIZE kButtonSize{40, 20};

// Each pixel of the dialog's skin tells where it lies, so a wrong offset cannot pass.
Rgb SkinPixel(int x, int y) {
  return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 77};
}

BmpImage PositionalSkin() {
  BmpImage image = test::SolidImage(200, 100, {});
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      image.pixels[static_cast<std::size_t>(y * image.width + x)] = SkinPixel(x, y);
    }
  }
  return image;
}

// The body colour with a square of the key colour in the top-left corner.
BmpImage ButtonImage(Rgb body) {
  BmpImage image = test::SolidImage(kButtonSize.cx, kButtonSize.cy, body);
  for (int y = 0; y < kKeySquare; ++y) {
    for (int x = 0; x < kKeySquare; ++x) {
      image.pixels[static_cast<std::size_t>(y * image.width + x)] = kKey;
    }
  }
  return image;
}

enum class LookKind { kTwoBitmaps, kWithoutKey, kMissingHover };

ButtonLook MakeLook(LookKind kind) {
  ButtonLook look;
  look.caption = "Repair";
  look.normalBitmap = test::WriteTestBitmap("normal.bmp", ButtonImage(kNormalBody));
  look.hoverBitmap = kind == LookKind::kMissingHover
                         ? look.normalBitmap + ".missing.bmp"
                         : test::WriteTestBitmap("hover.bmp", ButtonImage(kHoverBody));
  if (kind != LookKind::kWithoutKey) look.normalTransparent = look.hoverTransparent = kKey;
  look.tooltip = "Repair the file";
  return look;
}

class BitmapButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.Load(test::WriteTestBitmap("skin.bmp", PositionalSkin())));
    ASSERT_NE(host_.Handle(), nullptr);
  }

  HWND MakeButton(SIZE size = kButtonSize) {
    return CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, kButtonAt.x,
                           kButtonAt.y, size.cx, size.cy, host_.Handle(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }

  SkinBackground skin_;
  test::HostWindow host_{200, 100, [this](HDC dc) { skin_.Paint(dc); }};
};

enum class ButtonState { kNormal, kHovered, kHoverLeft, kPressed, kDisabled, kFocused };
enum class Expect {
  kNormalPicture,
  kHoverPicture,
  kKeyColour,
  kSkinBeneath,
  kLightGrey,
  kFocusDot
};

struct DrawCase {
  const char* name;
  LookKind look;
  ButtonState state;
  POINT probe;
  Expect expect;
};

void Enter(HWND button, ButtonState state) {
  switch (state) {
    case ButtonState::kNormal:
      break;
    case ButtonState::kHovered:
    case ButtonState::kHoverLeft: {
      POINT centre{kButtonSize.cx / 2, kButtonSize.cy / 2};
      ClientToScreen(button, &centre);
      SetCursorPos(centre.x, centre.y);
      SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(kButtonSize.cx / 2, kButtonSize.cy / 2));
      if (state == ButtonState::kHoverLeft) SendMessageW(button, WM_MOUSELEAVE, 0, 0);
      break;
    }
    case ButtonState::kPressed:
      SendMessageW(button, BM_SETSTATE, TRUE, 0);
      break;
    case ButtonState::kDisabled:
      EnableWindow(button, FALSE);
      break;
    case ButtonState::kFocused:
      SetFocus(button);
      break;
  }
}

class BitmapButtonDrawTest : public BitmapButtonTest,
                             public ::testing::WithParamInterface<DrawCase> {};

TEST_P(BitmapButtonDrawTest, DrawsThePictureOfItsState) {
  const DrawCase& param = GetParam();
  const HWND button = MakeButton();
  SetBitmapButtonLook(button, MakeLook(param.look));
  Enter(button, param.state);

  const Rgb pixel = test::WindowCapture(button).At(param.probe.x, param.probe.y);
  switch (param.expect) {
    case Expect::kNormalPicture:
      EXPECT_EQ(pixel, kNormalBody);
      break;
    case Expect::kHoverPicture:
      EXPECT_EQ(pixel, kHoverBody);
      break;
    case Expect::kKeyColour:
      EXPECT_EQ(pixel, kKey);
      break;
    case Expect::kSkinBeneath:
      EXPECT_EQ(pixel, SkinPixel(kButtonAt.x + param.probe.x, kButtonAt.y + param.probe.y));
      break;
    case Expect::kLightGrey:
      EXPECT_EQ(pixel.red, pixel.green);
      EXPECT_EQ(pixel.green, pixel.blue);
      EXPECT_GE(pixel.red, 128);
      break;
    case Expect::kFocusDot:
      EXPECT_TRUE(pixel == (Rgb{255, 255, 255}) || pixel == (Rgb{0, 0, 0}))
          << int{pixel.red} << "," << int{pixel.green} << "," << int{pixel.blue};
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(States, BitmapButtonDrawTest,
                         ::testing::Values(DrawCase{"Normal",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kNormal,
                                                    {20, 10},
                                                    Expect::kNormalPicture},
                                           DrawCase{"NormalKey",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kNormal,
                                                    {2, 2},
                                                    Expect::kSkinBeneath},
                                           DrawCase{"KeyWithoutTransparency",
                                                    LookKind::kWithoutKey,
                                                    ButtonState::kNormal,
                                                    {2, 2},
                                                    Expect::kKeyColour},
                                           DrawCase{"Hovered",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kHovered,
                                                    {20, 10},
                                                    Expect::kHoverPicture},
                                           DrawCase{"HoveredKey",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kHovered,
                                                    {3, 4},
                                                    Expect::kSkinBeneath},
                                           DrawCase{"HoverMissing",
                                                    LookKind::kMissingHover,
                                                    ButtonState::kHovered,
                                                    {20, 10},
                                                    Expect::kNormalPicture},
                                           DrawCase{"HoverLeft",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kHoverLeft,
                                                    {20, 10},
                                                    Expect::kNormalPicture},
                                           DrawCase{"PressedShiftsRight",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kPressed,
                                                    {0, 10},
                                                    Expect::kSkinBeneath},
                                           DrawCase{"PressedBody",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kPressed,
                                                    {20, 10},
                                                    Expect::kNormalPicture},
                                           DrawCase{"Disabled",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kDisabled,
                                                    {20, 10},
                                                    Expect::kLightGrey},
                                           DrawCase{"DisabledKey",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kDisabled,
                                                    {1, 5},
                                                    Expect::kSkinBeneath},
                                           DrawCase{"FocusFrame",
                                                    LookKind::kTwoBitmaps,
                                                    ButtonState::kFocused,
                                                    {0, 10},
                                                    Expect::kFocusDot}),
                         test::CaseName());

TEST_F(BitmapButtonTest, ANewLookReplacesTheBitmaps) {
  const HWND button = MakeButton();
  SetBitmapButtonLook(button, MakeLook(LookKind::kTwoBitmaps));
  ButtonLook swapped = MakeLook(LookKind::kTwoBitmaps);
  swapped.normalBitmap = swapped.hoverBitmap;
  SetBitmapButtonLook(button, swapped);
  EXPECT_EQ(test::WindowCapture(button).At(20, 10), kHoverBody);
}

struct CaptionCase {
  const char* name;
  const char* caption;
  const char* tooltip;
  bool textDrawn;
};

class BitmapButtonCaptionTest : public BitmapButtonTest,
                                public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(BitmapButtonCaptionTest, WithoutBitmapDrawsAPlainButtonWithItsCaption) {
  const SIZE size{90, 26};
  const HWND button = MakeButton(size);
  ButtonLook look;
  look.caption = GetParam().caption;
  look.tooltip = GetParam().tooltip;
  look.normalBitmap = look.hoverBitmap = "C:\\nowhere\\missing.bmp";
  SetBitmapButtonLook(button, look);

  const test::WindowCapture capture(button);
  EXPECT_EQ(capture.At(size.cx / 2, 3), test::RgbOf(GetSysColor(COLOR_BTNFACE)));
  // The frame's dark edges lie outside; only text is dark in the middle.
  int darkInside = 0;
  for (int y = 4; y < size.cy - 4; ++y) {
    for (int x = 4; x < size.cx - 4; ++x) {
      const Rgb pixel = capture.At(x, y);
      if (pixel.red < 100 && pixel.green < 100 && pixel.blue < 100) ++darkInside;
    }
  }
  EXPECT_EQ(darkInside > 0, GetParam().textDrawn) << darkInside;
}

INSTANTIATE_TEST_SUITE_P(Texts, BitmapButtonCaptionTest,
                         ::testing::Values(CaptionCase{"Caption", "Repair", "", true},
                                           CaptionCase{"TooltipStandsIn", "", "Open the help",
                                                       true},
                                           CaptionCase{"NoText", "", "", false}),
                         test::CaseName());

struct ToolFound {
  int tools = 0;
  std::wstring text;
};

// Asks every tip window of this thread for the button's tool.
ToolFound FindTool(HWND host, HWND button) {
  struct Search {
    HWND host;
    HWND button;
    ToolFound found;
  } search{host, button, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (std::wstring(className) != TOOLTIPS_CLASSW) return TRUE;
        auto& state = *reinterpret_cast<Search*>(data);
        state.found.tools += static_cast<int>(SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0));
        wchar_t text[128] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = state.host;
        tool.uId = reinterpret_cast<UINT_PTR>(state.button);
        tool.lpszText = text;
        SendMessageW(window, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        if (text[0] != L'\0') state.found.text = text;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(BitmapButtonTest, TheTooltipFollowsTheLook) {
  const HWND button = MakeButton();
  ButtonLook look = MakeLook(LookKind::kTwoBitmaps);
  SetBitmapButtonLook(button, look);
  ToolFound found = FindTool(host_.Handle(), button);
  EXPECT_EQ(found.tools, 1);
  EXPECT_EQ(found.text, L"Repair the file");

  look.tooltip = "Repariere die Datei \u00fcberall";
  SetBitmapButtonLook(button, look);
  found = FindTool(host_.Handle(), button);
  EXPECT_EQ(found.tools, 1);
  EXPECT_EQ(found.text, L"Repariere die Datei \u00fcberall");

  look.tooltip.clear();
  SetBitmapButtonLook(button, look);
  EXPECT_EQ(FindTool(host_.Handle(), button).tools, 0);
}

struct OwnerCase {
  const char* name;
  UINT controlType;
  bool withLook;
  bool handled;
};

class DrawBitmapButtonOwnerTest : public BitmapButtonTest,
                                  public ::testing::WithParamInterface<OwnerCase> {};

TEST_P(DrawBitmapButtonOwnerTest, DrawsOnlyButtonsWithALook) {
  const HWND button = MakeButton();
  if (GetParam().withLook) SetBitmapButtonLook(button, MakeLook(LookKind::kTwoBitmaps));
  const HDC dc = GetDC(button);
  DRAWITEMSTRUCT item{};
  item.CtlType = GetParam().controlType;
  item.hwndItem = button;
  item.hDC = dc;
  item.rcItem = {0, 0, kButtonSize.cx, kButtonSize.cy};
  EXPECT_EQ(DrawBitmapButton(item), GetParam().handled);
  ReleaseDC(button, dc);
}

INSTANTIATE_TEST_SUITE_P(Controls, DrawBitmapButtonOwnerTest,
                         ::testing::Values(OwnerCase{"ButtonWithLook", ODT_BUTTON, true, true},
                                           OwnerCase{"ButtonWithoutLook", ODT_BUTTON, false, false},
                                           OwnerCase{"OtherControl", ODT_LISTBOX, true, false}),
                         test::CaseName());

}  // namespace
}  // namespace tarnwick::win32
