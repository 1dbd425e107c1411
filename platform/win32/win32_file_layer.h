#pragma once

#include <string>

#include "file_layer.h"
#include "guarded_text.h"

namespace tarnwick {

// The engine's file layer on Windows, on the wide-character file functions: paths are UTF-8
// and may exceed MAX_PATH. A job's files are opened without write or delete sharing, so the
// system itself refuses to delete, replace or reopen them for writing while the job holds them,
// in this process and in any other. The temporary folder is the user's own (GetTempPathW) with
// a folder "tarnwick" in it, given with forward slashes as the engine splits paths on them.
class Win32FileLayer final : public FileLayer {
 public:
  std::unique_ptr<SourceFile> OpenForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool ResetAttributes(const std::string& path) override;
  bool Delete(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::optional<std::string> TemporaryFolder() override;
  std::string LastErrorText() const override { return lastError_.Get(); }

 private:
  bool Fail(const std::string& text);
  bool FailWith(unsigned long error, const std::wstring& path);

  GuardedText lastError_;
};

// True when both paths name one existing file or folder, under any names (same volume serial
// number and file index).
bool IsSameFile(const std::string& one, const std::string& other);

// The private temporary folder for the current user, made if missing, ending with a separator;
// nothing when it cannot be had. `error` receives the reason.
std::optional<std::string> PrivateTemporaryFolder(std::string& error);
// Where that folder is, as help texts name it.
inline constexpr char kPrivateFolderPlace[] = "%TMP%\\tarnwick\\";

}  // namespace tarnwick
