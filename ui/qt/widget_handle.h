#pragma once

#include "window_handle.h"

class QWidget;

namespace tarnwick::qt {

// Implemented by every Qt view, so that services given a WindowHandle (message boxes, pickers,
// the About box) can find the widget to own their windows.
class WidgetHandle {
 public:
  virtual ~WidgetHandle() = default;
  virtual QWidget* Widget() = 0;
};

// The widget behind a window handle; null for no owner or a handle that is no Qt window.
QWidget* WidgetOf(WindowHandle* handle);

}  // namespace tarnwick::qt
