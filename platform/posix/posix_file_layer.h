#pragma once

#include <string>

#include "file_layer.h"
#include "guarded_text.h"

namespace tarnwick {

// The engine's file layer on Linux. Files opened for a job are held (see HeldFiles) until they
// are closed. The temporary folder is private to the user: ${TMPDIR:-/tmp}/tarnwick-<uid>/,
// mode 0700, refused when it is a symbolic link or belongs to someone else.
class PosixFileLayer final : public FileLayer {
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
  bool Fail(int error);
  bool Fail(const std::string& text);

  GuardedText lastError_;
};

// True when both paths name one existing file, under any names (same device and inode).
bool IsSameFile(const std::string& one, const std::string& other);

// The private temporary folder for the current user, made if missing; nothing when it cannot
// be made safely. `error` receives the reason.
std::optional<std::string> PrivateTemporaryFolder(std::string& error);
// Where that folder is, as help texts name it.
inline constexpr char kPrivateFolderPlace[] = "${TMPDIR:-/tmp}/tarnwick-<uid>/";

}  // namespace tarnwick
