#pragma once

#include <string>
#include <vector>

#include "layered_desktop_files.h"
#include "win32_file_layer.h"

namespace tarnwick {

// The desktop program's file system: the job's file layer (Win32FileLayer, whose files held by
// a running job are protected by their share modes) and what the windows add to it.
class Win32DesktopFiles final : public LayeredDesktopFiles<Win32FileLayer> {
 public:
  // A disk file, also when reached through a symbolic link.
  bool IsFile(const std::string& path) override;
  bool SameFile(const std::string& one, const std::string& other) override;
  bool RemoveFolder(const std::string& path) override;
  // Opened for appending and shared for reading only, so that neither a repair job, another
  // program nor another AppendFile of this one has it for writing while the result lives.
  std::unique_ptr<AppendFile> OpenForAppending(const std::string& path) override;
  // The 8.3 form (GetShortPathNameW), with backslashes; the path as it is when there is none.
  std::string ShortPath(const std::string& path) override;
  void RemoveUnfinishedCopies() override;
  std::vector<std::string> FolderEntries(const std::string& folder) override;
  bool RemoveAbandonedPartFile(const std::string& path) override;
};

}  // namespace tarnwick
