#pragma once

#include <string>

#include "file_layer.h"
#include "win32_handles.h"

namespace tarnwick {

// A job's source: a disk file opened for reading that others may read but not write, delete or
// rename while it is open, so that the system itself refuses to replace or remove a file that a
// job reads. Reads are positional (ReadFile at an OVERLAPPED offset).
class Win32SourceFile final : public SourceFile {
 public:
  Win32SourceFile(UniqueHandle file, std::uint64_t length)
      : file_(std::move(file)), length_(length) {}

  std::uint64_t Length() const override { return length_; }
  bool ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
              std::size_t& got) override;
  std::string ErrorText() const override;

 private:
  HeldHandle file_;
  std::uint64_t length_;
  DWORD error_ = 0;
};

}  // namespace tarnwick
