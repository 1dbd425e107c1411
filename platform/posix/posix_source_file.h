#pragma once

#include <sys/stat.h>

#include <string>

#include "file_layer.h"
#include "held_files.h"

namespace tarnwick {

// A job's source: a regular file read with pread, held until the object goes.
class PosixSourceFile final : public SourceFile {
 public:
  // Takes `fd`, which the caller has held.
  PosixSourceFile(int fd, const struct stat& info)
      : file_(fd, info), length_(static_cast<std::uint64_t>(info.st_size)) {}

  std::uint64_t Length() const override { return length_; }
  bool ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
              std::size_t& got) override;
  std::string ErrorText() const override;

  int fd() const { return file_.fd(); }

 private:
  HeldDescriptor file_;
  std::uint64_t length_;
  int error_ = 0;
};

}  // namespace tarnwick
