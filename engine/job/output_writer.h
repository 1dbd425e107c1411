#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "file_layer.h"

namespace tarnwick {

// Buffers what the rebuild pass writes and counts it, so that "the output length" is a field
// rather than a system call. A failed write is remembered; later writes are dropped.
class OutputWriter {
 public:
  explicit OutputWriter(OutputFile& file);

  std::uint64_t Length() const { return length_; }
  bool Failed() const { return failed_; }

  void Write(const std::uint8_t* data, std::size_t count);
  void Write(std::string_view text) {
    Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  }
  void WriteByte(std::uint8_t byte) {
    if (buffer_.size() == kBufferSize) Flush();
    buffer_.push_back(byte);
    ++length_;
  }
  // Appends `count` bytes of `source` from `offset` by a copy from file to file; false when the
  // file layer cannot copy so (nothing was written) or the copy failed (Failed() tells which).
  bool CopyFrom(SourceFile& source, std::uint64_t offset, std::size_t count);
  // Hands the buffered bytes to the file; false when the file layer failed.
  bool Flush();

 private:
  static constexpr std::size_t kBufferSize = 1 << 20;

  OutputFile& file_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t length_ = 0;
  bool failed_ = false;
};

}  // namespace tarnwick
