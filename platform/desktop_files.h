#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "file_layer.h"

namespace tarnwick {

// A file opened for appending, held exclusively until it is destroyed.
class AppendFile {
 public:
  virtual ~AppendFile() = default;
  virtual std::uint64_t Size() = 0;
  // True when the file is empty or its last byte ends a line.
  virtual bool EndsLine() = 0;
  // Writes all bytes at the end of the file; false on an I/O error.
  virtual bool Append(const std::string& bytes) = 0;
};

// What the windows do to the file system, on top of what a repair job does.
class DesktopFiles : public FileLayer {
 public:
  virtual bool IsFile(const std::string& path) = 0;
  // True when both paths name one existing file, under any names.
  virtual bool SameFile(const std::string& one, const std::string& other) = 0;
  // Removes the folder when it is empty.
  virtual bool RemoveFolder(const std::string& path) = 0;
  // Opens or creates the file for appending; nothing when it cannot be had exclusively.
  virtual std::unique_ptr<AppendFile> OpenForAppending(const std::string& path) = 0;
  // The form of the path that other programs are given.
  virtual std::string ShortPath(const std::string& path) = 0;
  // Removes what copies still being written have put on disk, for a program about to end
  // without letting its jobs finish; the files they were to replace stay as they are.
  virtual void RemoveUnfinishedCopies() = 0;
  // The names of the files and folders in `folder`; none when it cannot be read.
  virtual std::vector<std::string> FolderEntries(const std::string& folder) = 0;
  // Removes a part file that a process of this program left when it ended before its copy was
  // complete. False for any other file, and for one whose process still runs: both stay.
  virtual bool RemoveAbandonedPartFile(const std::string& path) = 0;
};

}  // namespace tarnwick
