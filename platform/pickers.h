#pragma once

#include <optional>
#include <string>
#include <vector>

#include "window_handle.h"

namespace tarnwick {

struct OpenFilesRequest {
  WindowHandle* owner = nullptr;
  std::string title;
  std::string filterName;             // shown to the user
  std::vector<std::string> patterns;  // such as "*.pdf"
  bool multipleSelection = false;
};

// The system's file-open dialog and folder browser, run modally on the window thread.
class Pickers {
 public:
  virtual ~Pickers() = default;
  // The chosen files, whole paths in the dialog's order; nothing when the user cancelled.
  virtual std::optional<std::vector<std::string>> PickFiles(const OpenFilesRequest& request) = 0;
  // The chosen folder's file-system path (empty for an item that has none); nothing when the
  // user cancelled. The browser opens on `start`, or where the system chooses when it is empty.
  virtual std::optional<std::string> PickFolder(WindowHandle* owner, const std::string& title,
                                                const std::string& start) = 0;
};

}  // namespace tarnwick
