#include "bitmap_button.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

#include "button_painting.h"
#include "button_tooltip.h"
#include "gdi_bitmap.h"
#include "skin_utf16.h"

namespace tarnwick::win32 {
namespace {

// What a button with a look keeps: the look, its bitmaps as loaded once per look, and whether
// the mouse is over it.
struct ButtonState {
  ButtonLook look;
  skin::UniqueBitmap normal;
  skin::UniqueBitmap hover;  // null when the normal bitmap serves for both
  skin::UniqueBitmap greyed;
  bool hovered = false;
  skin::ButtonTooltip tooltip;
};

struct Picture {
  HBITMAP bitmap = nullptr;
  std::optional<Rgb> key;
};

constexpr UINT_PTR kSubclassId = 1;

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
  auto* state = reinterpret_cast<ButtonState*>(data);
  switch (message) {
    case WM_MOUSEMOVE:
      if (!state->hovered) {
        state->hovered = true;
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
        InvalidateRect(button, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      state->hovered = false;
      InvalidateRect(button, nullptr, FALSE);
      break;
    case WM_ENABLE:
      // A disabled button hears no mouse; it must not come back in its hover look.
      if (wParam == FALSE) state->hovered = false;
      break;
    case WM_ERASEBKGND:
      // The drawing covers the whole button; erasing first would only flicker.
      return 1;
    case WM_NCDESTROY:
      RemoveWindowSubclass(button, ButtonProc, kSubclassId);
      delete state;
      break;
    default:
      break;
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

ButtonState* StateOf(HWND button) {
  DWORD_PTR data = 0;
  if (GetWindowSubclass(button, ButtonProc, kSubclassId, &data) == FALSE) return nullptr;
  return reinterpret_cast<ButtonState*>(data);
}

ButtonState* AttachState(HWND button) {
  if (ButtonState* existing = StateOf(button)) return existing;
  auto state = std::make_unique<ButtonState>();
  if (SetWindowSubclass(button, ButtonProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state.get())) ==
      FALSE) {
    return nullptr;
  }
  return state.release();
}

Picture PictureFor(const ButtonState& state, UINT itemState) {
  if ((itemState & ODS_DISABLED) != 0) return {state.greyed.get(), state.look.normalTransparent};
  if (state.hovered && state.hover) return {state.hover.get(), state.look.hoverTransparent};
  return {state.normal.get(), state.look.normalTransparent};
}

// Without a caption the tooltip says what the button does, as the picture would have.
std::wstring FallbackCaption(HWND button, const ButtonLook& look) {
  const int length = GetWindowTextLengthW(button);
  if (length == 0) return skin::ToUtf16(look.tooltip);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(button, text.data(), length + 1)));
  return text;
}

}  // namespace

void SetBitmapButtonLook(HWND button, const ButtonLook& look) {
  ButtonState* state = AttachState(button);
  if (state == nullptr) return;
  state->look = look;
  state->normal = skin::LoadBitmapFile(look.normalBitmap);
  const bool oneBitmap =
      look.hoverBitmap == look.normalBitmap && look.hoverTransparent == look.normalTransparent;
  state->hover = oneBitmap ? nullptr : skin::LoadBitmapFile(look.hoverBitmap);
  state->greyed = state->normal ? skin::GreyedCopy(state->normal.get(), look.normalTransparent)
                                : nullptr;
  if (!look.caption.empty()) SetWindowTextW(button, skin::ToUtf16(look.caption).c_str());
  state->tooltip.SetText(button, look.tooltip);
  InvalidateRect(button, nullptr, FALSE);
}

bool DrawBitmapButton(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return false;
  const ButtonState* state = StateOf(item.hwndItem);
  if (state == nullptr) return false;
  const RECT& area = item.rcItem;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return true;

  // Built off screen and copied in one go, so the parent's background never shows on its own.
  const skin::UniqueBitmap canvas(CreateCompatibleBitmap(item.hDC, width, height));
  const skin::SelectedBitmap buffer(item.hDC, canvas.get());
  const RECT local{0, 0, width, height};
  const Picture picture = PictureFor(*state, item.itemState);
  if (picture.bitmap != nullptr) {
    skin::PaintParentBackground(item.hwndItem, buffer.Dc(), area);
    const SIZE size = skin::BitmapSize(picture.bitmap);
    // The picture sits in the middle and moves by a pixel while pressed, like a pushed key.
    const int pressed = (item.itemState & ODS_SELECTED) != 0 ? 1 : 0;
    skin::DrawKeyedBitmap(buffer.Dc(), picture.bitmap,
                          {(width - size.cx) / 2 + pressed, (height - size.cy) / 2 + pressed},
                          picture.key);
  } else {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    skin::DrawCaptionButton(buffer.Dc(), local, FallbackCaption(item.hwndItem, state->look), font,
                            item.itemState);
  }
  if ((item.itemState & ODS_FOCUS) != 0) skin::DrawFocusFrame(buffer.Dc(), local);
  BitBlt(item.hDC, area.left, area.top, width, height, buffer.Dc(), 0, 0, SRCCOPY);
  return true;
}

}  // namespace tarnwick::win32
