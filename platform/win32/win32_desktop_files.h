#pragma once

#include <string>

#include "desktop_files.h"
#include "guarded_text.h"
#include "win32_file_layer.h"

namespace tarnwick {

// The desktop program's file system: the job's file layer (Win32FileLayer, whose files held by
// a running job are protected by their share modes) and what the windows add to it.
class Win32DesktopFiles final : public DesktopFiles {
 public:
  std::unique_ptr<SourceFile> OpenForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool ResetAttributes(const std::string& path) override;
  bool Delete(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::optional<std::string> TemporaryFolder() override;
  std::string LastErrorText() const override { return lastError_.Get(); }

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

 private:
  // Takes the job layer's error text when `succeeded` is false, and passes `succeeded` on.
  template <typename Result>
  Result Forwarded(Result succeeded) {
    if (!succeeded) lastError_.Set(jobFiles_.LastErrorText());
    return succeeded;
  }
  bool Fail(const std::string& text);

  Win32FileLayer jobFiles_;
  GuardedText lastError_;
};

}  // namespace tarnwick
