#pragma once

#include <windows.h>

#include "window_handle.h"

namespace tarnwick::win32 {

// A window of the Windows front end, as an owner of message boxes, pickers and child windows.
class Win32Window : public virtual WindowHandle {
 public:
  virtual HWND Handle() const = 0;
};

// The system window behind a handle that the workflow passes around; null for no owner.
inline HWND HandleOf(WindowHandle* window) {
  auto* own = dynamic_cast<Win32Window*>(window);
  return own != nullptr ? own->Handle() : nullptr;
}

}  // namespace tarnwick::win32
