#pragma once

#include <memory>
#include <string>

#include "file_layer.h"
#include "win32_handles.h"

namespace tarnwick {

// A repaired copy written under a part name of its own (.tarnwick-<pid>-<n>-<stamp>.part) in the
// destination's folder, opened without sharing. It takes the final name only once it is whole
// and closed (MoveFileExW), so a failed or stopped job or a full disk never leave a cut copy
// under the final name, and the file that had the name stays until a complete copy replaces it.
// Destroyed before that, it deletes its part file.
class Win32OutputFile final : public OutputFile {
 public:
  // The output for `path`; nothing when its name is held (by a job of this process, or open
  // without sharing elsewhere), names something other than a file, or no part file can be made.
  // `error` receives the reason.
  static std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error);

  ~Win32OutputFile() override;
  Win32OutputFile(const Win32OutputFile&) = delete;
  Win32OutputFile& operator=(const Win32OutputFile&) = delete;

  bool Append(const std::uint8_t* data, std::size_t count) override;
  // Stored first when it replaces a file, closed, then moved over the final name; the system
  // refuses the move when the file of that name is held.
  bool Close() override;
  std::string ErrorText() const override { return error_; }

 private:
  Win32OutputFile(UniqueHandle file, std::wstring partPath, std::wstring finalPath);
  bool Fail(DWORD error, const std::wstring& path);
  bool Fail(std::string text);

  std::unique_ptr<HeldHandle> file_;
  std::wstring partPath_;  // empty once it has become the final file
  std::wstring finalPath_;
  std::string error_;
};

// Removes the part files of every copy still being written by this process, for a program that
// ends without unwinding: those still open are marked for deletion and go when their handles
// close (at the latest when the process ends), the others at once.
void RemovePartFiles();

}  // namespace tarnwick
