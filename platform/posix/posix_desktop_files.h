#pragma once

#include <string>
#include <vector>

#include "layered_desktop_files.h"
#include "posix_file_layer.h"

namespace tarnwick {

// The desktop program's file system: the job's file layer (PosixFileLayer, whose files held by
// a running job are protected) and what the windows add to it.
class PosixDesktopFiles final : public LayeredDesktopFiles<PosixFileLayer> {
 public:
  // A regular file, also when reached through a symbolic link.
  bool IsFile(const std::string& path) override;
  bool SameFile(const std::string& one, const std::string& other) override;
  bool RemoveFolder(const std::string& path) override;
  // Refused when a repair job holds the file or another process (or another AppendFile of
  // this one) has it open for appending; the file stays locked (flock) while the result lives.
  std::unique_ptr<AppendFile> OpenForAppending(const std::string& path) override;
  // Linux paths have no short form; other programs get the path as it is.
  std::string ShortPath(const std::string& path) override { return path; }
  void RemoveUnfinishedCopies() override;
  std::vector<std::string> FolderEntries(const std::string& folder) override;
  bool RemoveAbandonedPartFile(const std::string& path) override;
};

}  // namespace tarnwick
