#include "skin_folder.h"

#include <array>

#include "bmp_file.h"
#include "ui_test_environment.h"

namespace tarnwick::test {
namespace {

constexpr std::array<const char*, 38> kNames = {
    "AboutUsBT.bmp",   "AboutUsBTA.bmp",   "Browse.bmp",         "ExitBT.bmp",
    "ExitBTA.bmp",     "Flash.bmp",        "Help.bmp",           "HelpA.bmp",
    "Open.bmp",        "OpenA.bmp",        "OpenD.bmp",          "Preview.bmp",
    "ProgressBar.bmp", "SaveAll-a.bmp",    "SaveAll.bmp",        "SaveAllA.bmp",
    "SaveAllD.bmp",    "SaveC-a.bmp",      "SaveCurrent.bmp",    "SaveCurrentA.bmp",
    "SaveCurrentD.bmp", "SaveFile.bmp",    "ViewLog.bmp",        "back.bmp",
    "backfile-a.bmp",  "backfile-d.bmp",   "browseBt.bmp",       "clearall-a.bmp",
    "clearall-d.bmp",  "clearselected-a.bmp", "clearselected-d.bmp", "nextfile-a.bmp",
    "nextfile-d.bmp",  "ok.bmp",           "pause.bmp",          "repair.bmp",
    "resume.bmp",      "stop.bmp"};

// Distinct colours, none of them a transparent colour of the windows.
Rgb ColourOf(std::size_t index) {
  return {static_cast<std::uint8_t>(20 + index * 5), static_cast<std::uint8_t>(100),
          static_cast<std::uint8_t>(250 - index * 5)};
}

}  // namespace

void WriteSkinFolder(const std::string& folder) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const Rgb colour = ColourOf(i);
    WriteBitmap(folder + "/" + kNames[i], FramedImage(24, 16, colour, colour, 0));
  }
}

QString SkinNameOf(const QImage& image) {
  if (image.isNull()) return {};
  const QColor shown = image.pixelColor(image.width() / 2, image.height() / 2);
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const Rgb colour = ColourOf(i);
    if (shown == QColor(colour.red, colour.green, colour.blue)) return kNames[i];
  }
  return {};
}

}  // namespace tarnwick::test
