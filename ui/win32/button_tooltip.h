#pragma once

#include <windows.h>

#include <string>

namespace tarnwick::win32::skin {

// The tip a bitmap button shows while the mouse rests on it. The tip window is made on the first
// text and destroyed with this object.
class ButtonTooltip {
 public:
  ButtonTooltip() = default;
  ButtonTooltip(const ButtonTooltip&) = delete;
  ButtonTooltip& operator=(const ButtonTooltip&) = delete;
  ~ButtonTooltip();

  // Gives `button` the tip `text`; an empty text takes the tip away.
  void SetText(HWND button, const std::string& text);

 private:
  HWND window_ = nullptr;
};

}  // namespace tarnwick::win32::skin
