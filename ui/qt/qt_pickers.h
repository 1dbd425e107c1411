#pragma once

#include <QString>

#include "pickers.h"

namespace tarnwick::qt {

// The file-open dialog and the folder browser as QFileDialog: existing files only, existing
// folders only.
class QtPickers final : public Pickers {
 public:
  std::optional<std::vector<std::string>> PickFiles(const OpenFilesRequest& request) override;
  std::optional<std::string> PickFolder(WindowHandle* owner, const std::string& title,
                                        const std::string& start) override;
};

// "Adobe Pdf Document (*.pdf *.PDF)": the filter line of a file-open request.
QString FilterLine(const OpenFilesRequest& request);

}  // namespace tarnwick::qt
