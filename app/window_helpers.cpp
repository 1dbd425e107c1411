#include "window_helpers.h"

#include "app_texts.h"
#include "control_ids.h"

namespace tarnwick {
namespace {

// Hover bitmaps (and single bitmaps) are drawn around this colour; normal bitmaps around a
// near-black one.
constexpr Rgb kHoverTransparent{189, 230, 231};
constexpr Rgb kNormalTransparent{2, 2, 2};

MessageAnswer Show(AppContext& app, WindowHandle* owner, const std::string& text,
                   MessageButtons buttons, MessageIcon icon) {
  return app.desktop.messageBoxes.Show({.text = text,
                                        .caption = ui::kMessageCaption,
                                        .buttons = buttons,
                                        .icon = icon,
                                        .systemModal = true,
                                        .owner = owner});
}

}  // namespace

bool AskQuestion(AppContext& app, WindowHandle* owner, const std::string& text) {
  return Show(app, owner, text, MessageButtons::kYesNo, MessageIcon::kQuestion) ==
         MessageAnswer::kYes;
}

void ShowNotice(AppContext& app, WindowHandle* owner, const std::string& text) {
  Show(app, owner, text, MessageButtons::kOk, MessageIcon::kInformation);
}

void TellUntoldFailure(AppContext& app) {
  if (!app.engine.FailureUntold()) return;
  const std::string& text = app.engine.FailureText();
  app.desktop.windowThread.CallFromWorker(
      [&] { Show(app, nullptr, text, MessageButtons::kOk, MessageIcon::kWarning); });
}

std::unique_ptr<WindowTitles::Claim> ShowWindowTitle(AppContext& app, DialogView& view) {
  view.SetTitle(app.settings.windowTitle);
  return app.desktop.titles.Show(app.settings.windowTitle);
}

ButtonLook SingleBitmapButton(const AppContext& app, const std::string& bitmap,
                              const std::string& tooltip, const std::string& caption) {
  const std::string path = app.Bitmap(bitmap);
  return {.caption = caption,
          .normalBitmap = path,
          .hoverBitmap = path,
          .normalTransparent = kHoverTransparent,
          .hoverTransparent = kHoverTransparent,
          .tooltip = tooltip};
}

ButtonLook HoverBitmapButton(const AppContext& app, const std::string& normal,
                             const std::string& hover, const std::string& tooltip) {
  return {.caption = {},
          .normalBitmap = app.Bitmap(normal),
          .hoverBitmap = app.Bitmap(hover),
          .normalTransparent = kNormalTransparent,
          .hoverTransparent = kHoverTransparent,
          .tooltip = tooltip};
}

void ShowHelpAboutExitButtons(const AppContext& app, DialogView& view) {
  view.SetButtonLook(ids::kToolbarHelp, HoverBitmapButton(app, "Help.bmp", "HelpA.bmp", "Help"));
  view.SetButtonLook(ids::kToolbarAbout,
                     HoverBitmapButton(app, "AboutUsBT.bmp", "AboutUsBTA.bmp", "About Us"));
  view.SetButtonLook(ids::kToolbarExit,
                     HoverBitmapButton(app, "ExitBT.bmp", "ExitBTA.bmp", "Exit"));
}

}  // namespace tarnwick
