#include "widget_handle.h"

namespace tarnwick::qt {

QWidget* WidgetOf(WindowHandle* handle) {
  auto* widgetHandle = dynamic_cast<WidgetHandle*>(handle);
  return widgetHandle ? widgetHandle->Widget() : nullptr;
}

}  // namespace tarnwick::qt
