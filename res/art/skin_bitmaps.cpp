#include "skin_bitmaps.h"

#include "backgrounds.h"
#include "buttons.h"
#include "dialog_units.h"
#include "palette.h"
#include "splash.h"

namespace tarnwick::art {
namespace {

namespace pal = palette;

constexpr int kPillHeight = PixelsDown(14);

// A toolbar command in its three looks: "X.bmp" (normal, drawn around the near-black key),
// "XA.bmp" (hover) and "XD.bmp" (disabled, a single bitmap drawn around the light key).
void AddToolbar(std::vector<SkinBitmap>& list, const std::string& stem, Icon icon,
                const std::string& caption, bool withDisabled) {
  list.push_back({stem + ".bmp", [=] {
                    return ToolbarButton(icon, caption, ToolbarLook::kNormal, pal::kNormalKey);
                  }});
  list.push_back({stem + "A.bmp", [=] {
                    return ToolbarButton(icon, caption, ToolbarLook::kHover, pal::kHoverKey);
                  }});
  if (withDisabled) {
    list.push_back({stem + "D.bmp", [=] {
                      return ToolbarButton(icon, caption, ToolbarLook::kDisabled, pal::kHoverKey);
                    }});
  }
}

// A body button, a single bitmap drawn around the light key.
void AddPill(std::vector<SkinBitmap>& list, const std::string& name, int widthUnits,
             std::optional<Icon> icon, const std::string& caption, PillLook look,
             std::optional<Colour> iconInk = std::nullopt) {
  list.push_back({name, [=] {
                    return PillButton(PixelsAcross(widthUnits), kPillHeight, icon, caption, look,
                                      pal::kHoverKey, iconInk);
                  }});
}

// A button with an active ("-a") and an inactive ("-d") version.
void AddPillPair(std::vector<SkinBitmap>& list, const std::string& stem, int widthUnits,
                 std::optional<Icon> icon, const std::string& caption) {
  AddPill(list, stem + "-a.bmp", widthUnits, icon, caption, PillLook::kSecondary);
  AddPill(list, stem + "-d.bmp", widthUnits, icon, caption, PillLook::kDisabled);
}

}  // namespace

std::vector<SkinBitmap> AllSkinBitmaps() {
  std::vector<SkinBitmap> list = {
      {"Browse.bmp", MainWindowBackground},
      {"Preview.bmp", PreviewWindowBackground},
      {"ProgressBar.bmp", AnalysisBackground},
      {"SaveFile.bmp", SavingBackground},
      {"ViewLog.bmp", CompletionBackground},
      {"Flash.bmp", SplashPicture},
      {"tarnwick-icon.bmp", ApplicationIcon},
  };

  // The toolbar, 34 × 28 units a button.
  AddToolbar(list, "Open", Icon::kFolder, "Open", true);
  AddToolbar(list, "SaveCurrent", Icon::kDisk, "Save", true);
  AddToolbar(list, "SaveAll", Icon::kDisks, "Save All", true);
  AddToolbar(list, "Help", Icon::kQuestion, "Help", false);
  AddToolbar(list, "AboutUsBT", Icon::kInfo, "About", false);
  AddToolbar(list, "ExitBT", Icon::kPower, "Exit", false);

  // The main window.
  AddPill(list, "repair.bmp", 57, Icon::kWrench, "Repair", PillLook::kPrimary);
  AddPill(list, "browseBt.bmp", 57, Icon::kFolder, "Browse", PillLook::kSecondary);
  // The two Clear buttons stand one above the other; "Clear selected" leaves no room for an icon,
  // so neither has one.
  AddPillPair(list, "clearselected", 61, std::nullopt, "Clear selected");
  AddPillPair(list, "clearall", 61, std::nullopt, "Clear All");

  // The preview window.
  AddPillPair(list, "backfile", 61, Icon::kArrowLeft, "Back File");
  AddPillPair(list, "nextfile", 61, Icon::kArrowRight, "Next File");
  AddPill(list, "back.bmp", 57, Icon::kReturn, "Back", PillLook::kSecondary);
  AddPill(list, "SaveC-a.bmp", 73, Icon::kDisk, "Save Current File", PillLook::kPrimary);
  // Beside "Save Current File", which is too long for an icon.
  AddPill(list, "SaveAll-a.bmp", 73, std::nullopt, "Save All", PillLook::kPrimary);

  // The analysis and saving dialogs share their buttons; the completion dialog has OK.
  AddPill(list, "stop.bmp", 55, Icon::kStop, "Stop", PillLook::kSecondary, pal::kCoral);
  AddPill(list, "pause.bmp", 55, Icon::kPause, "Pause", PillLook::kSecondary);
  AddPill(list, "resume.bmp", 55, Icon::kPlay, "Resume", PillLook::kSecondary, pal::kGreen);
  AddPill(list, "ok.bmp", 40, Icon::kCheck, "OK", PillLook::kPrimary);
  return list;
}

}  // namespace tarnwick::art
