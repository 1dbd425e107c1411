#pragma once

#include <optional>
#include <string_view>

#include "bmp_file.h"
#include "colour.h"
#include "icons.h"

namespace tarnwick::art {

// Toolbar buttons sit on the header band: a rounded tile with an icon above a short caption.
enum class ToolbarLook {
  kNormal,    // a faint tile, white icon: the mouse is away
  kHover,     // a light tile, teal icon
  kDisabled,  // a faint tile, dimmed icon: the command is not offered in this window
};

// Buttons in the window body are pills with an optional icon before the caption.
enum class PillLook {
  kPrimary,    // teal, for the step that moves the job on (Repair, Save, OK)
  kSecondary,  // white with a teal rim
  kDisabled,   // grey, for the inactive versions
};

// The area around each shape is `key`, the colour the program draws transparent.
BmpImage ToolbarButton(Icon icon, std::string_view caption, ToolbarLook look, Rgb key);

// The icon is left out when it and the caption do not both fit. `iconInk` tints the icon alone
// (the coral of Stop, say).
BmpImage PillButton(int width, int height, std::optional<Icon> icon, std::string_view caption,
                    PillLook look, Rgb key, std::optional<Colour> iconInk = std::nullopt);

}  // namespace tarnwick::art
