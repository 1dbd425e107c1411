#pragma once

namespace tarnwick {

// Any window on screen, as an owner of message boxes, pickers and child windows. Every view
// interface of the windows derives from it; a null pointer means "no owner".
class WindowHandle {
 public:
  virtual ~WindowHandle() = default;
};

}  // namespace tarnwick
