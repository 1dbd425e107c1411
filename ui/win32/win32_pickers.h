#pragma once

#include "pickers.h"

namespace tarnwick::win32 {

// The system's file-open dialog (existing files only) and folder browser (file-system folders
// only), modal over their owner.
class Win32Pickers final : public Pickers {
 public:
  std::optional<std::vector<std::string>> PickFiles(const OpenFilesRequest& request) override;
  std::optional<std::string> PickFolder(WindowHandle* owner, const std::string& title,
                                        const std::string& start) override;
};

}  // namespace tarnwick::win32
