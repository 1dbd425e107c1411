#include "output_writer.h"

#include <algorithm>

namespace tarnwick {

OutputWriter::OutputWriter(OutputFile& file) : file_(file) { buffer_.reserve(kBufferSize); }

void OutputWriter::Write(const std::uint8_t* data, std::size_t count) {
  length_ += count;
  while (count > 0) {
    if (buffer_.size() == kBufferSize) Flush();
    const std::size_t n = std::min(count, kBufferSize - buffer_.size());
    buffer_.insert(buffer_.end(), data, data + n);
    data += n;
    count -= n;
  }
}

bool OutputWriter::CopyFrom(SourceFile& source, std::uint64_t offset, std::size_t count) {
  if (!Flush()) return false;
  const std::optional<bool> copied = file_.AppendFrom(source, offset, count);
  if (!copied) return false;
  if (!*copied) {
    failed_ = true;
    return false;
  }
  length_ += count;
  return true;
}

bool OutputWriter::Flush() {
  if (!failed_ && !buffer_.empty() && !file_.Append(buffer_.data(), buffer_.size())) {
    failed_ = true;
  }
  buffer_.clear();
  return !failed_;
}

}  // namespace tarnwick
