#include "window_helpers.h"

#include "app_texts.h"
#include "control_ids.h"

namespace tarnwick {
namespace {

// Hover bitmaps (and single bitmaps) are drawn around this colour; normal bitmaps around a
// near-black one.
constexpr Rgb kHoverTransparent{189, 230, 231};
constexpr Rgb kNormalTransparent{2, 2, 2};

MessageAnswer Show(MessageBoxes& boxes, WindowHandle* owner, const std::string& text,
                   MessageButtons buttons, MessageIcon icon) {
  return boxes.Show({.text = text,
                     .caption = ui::kMessageCaption,
                     .buttons = buttons,
                     .icon = icon,
                     .systemModal = true,
                     .owner = owner});
}

}  // namespace

bool AskQuestion(MessageBoxes& boxes, WindowHandle* owner, const std::string& text) {
  return Show(boxes, owner, text, MessageButtons::kYesNo, MessageIcon::kQuestion) ==
         MessageAnswer::kYes;
}

void ShowNotice(MessageBoxes& boxes, WindowHandle* owner, const std::string& text) {
  Show(boxes, owner, text, MessageButtons::kOk, MessageIcon::kInformation);
}

void ShowWarning(MessageBoxes& boxes, WindowHandle* owner, const std::string& text) {
  Show(boxes, owner, text, MessageButtons::kOk, MessageIcon::kWarning);
}

std::unique_ptr<WindowTitles::Claim> ShowWindowTitle(WindowTitles& titles,
                                                     const AppSettings& settings,
                                                     DialogView& view) {
  view.SetTitle(settings.windowTitle);
  return titles.Show(settings.windowTitle);
}

ButtonLook SingleBitmapButton(const AppSettings& settings, const std::string& bitmap,
                              const std::string& tooltip, const std::string& caption) {
  const std::string path = settings.Bitmap(bitmap);
  return {.caption = caption,
          .normalBitmap = path,
          .hoverBitmap = path,
          .normalTransparent = kHoverTransparent,
          .hoverTransparent = kHoverTransparent,
          .tooltip = tooltip};
}

ButtonLook HoverBitmapButton(const AppSettings& settings, const std::string& normal,
                             const std::string& hover, const std::string& tooltip) {
  return {.caption = {},
          .normalBitmap = settings.Bitmap(normal),
          .hoverBitmap = settings.Bitmap(hover),
          .normalTransparent = kNormalTransparent,
          .hoverTransparent = kHoverTransparent,
          .tooltip = tooltip};
}

void ShowHelpAboutExitButtons(const AppSettings& settings, DialogView& view) {
  view.SetButtonLook(ids::kToolbarHelp,
                     HoverBitmapButton(settings, "Help.bmp", "HelpA.bmp", "Help"));
  view.SetButtonLook(ids::kToolbarAbout,
                     HoverBitmapButton(settings, "AboutUsBT.bmp", "AboutUsBTA.bmp", "About Us"));
  view.SetButtonLook(ids::kToolbarExit,
                     HoverBitmapButton(settings, "ExitBT.bmp", "ExitBTA.bmp", "Exit"));
}

}  // namespace tarnwick
