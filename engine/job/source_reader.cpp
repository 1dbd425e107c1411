#include "source_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tarnwick {

SourceReader::SourceReader(SourceFile& file)
    : file_(&file),
      length_(static_cast<std::int64_t>(
          std::min<std::uint64_t>(file.Length(), std::numeric_limits<std::int64_t>::max() / 2))) {}

SourceReader::SourceReader(std::span<const std::uint8_t> bytes)
    : file_(nullptr),
      length_(static_cast<std::int64_t>(bytes.size())),
      recent_(bytes.data()),
      recentStart_(0),
      recentEnd_(length_) {}

int SourceReader::LoadByte(std::int64_t offset) {
  Block& block = LoadBlock(offset - offset % kBlockSize);
  const auto index = static_cast<std::size_t>(offset - block.start);
  return index < block.bytes.size() ? block.bytes[index] : -1;
}

SourceReader::Block& SourceReader::LoadBlock(std::int64_t blockStart) {
  for (Block& block : blocks_) {
    if (block.start == blockStart) return MakeRecent(block);
  }
  Block* victim = nullptr;
  for (Block& candidate : blocks_) {
    if (!victim || candidate.lastUse < victim->lastUse) victim = &candidate;
  }
  Block& block = *victim;
  const auto wanted = static_cast<std::size_t>(std::min(kBlockSize, length_ - blockStart));
  block.bytes.resize(wanted);
  std::size_t got = 0;
  if (!file_->ReadAt(static_cast<std::uint64_t>(blockStart), wanted, block.bytes.data(), got)) {
    failed_ = true;
    got = 0;
  } else if (got < wanted) {
    failed_ = shrank_ = true;
  }
  // Bytes that could not be read count as outside the file until the job ends.
  block.bytes.resize(got);
  block.start = blockStart;
  return MakeRecent(block);
}

void SourceReader::CheckStillWhole() {
  if (!file_ || length_ == 0) return;
  std::uint8_t last = 0;
  std::size_t got = 0;
  if (file_->ReadAt(static_cast<std::uint64_t>(length_ - 1), 1, &last, got) && got == 0) {
    failed_ = shrank_ = true;
  }
}

SourceReader::Block& SourceReader::MakeRecent(Block& block) {
  block.lastUse = ++uses_;
  recent_ = block.bytes.data();
  recentStart_ = block.start;
  recentEnd_ = block.start + static_cast<std::int64_t>(block.bytes.size());
  return block;
}

bool SourceReader::Matches(std::int64_t offset, std::string_view word) {
  const auto end = offset + static_cast<std::int64_t>(word.size());
  if (offset < 0 || end > length_) return false;
  if (offset >= recentStart_ && end <= recentEnd_) {
    return std::memcmp(recent_ + (offset - recentStart_), word.data(), word.size()) == 0;
  }
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (ByteAt(offset + static_cast<std::int64_t>(i)) != static_cast<unsigned char>(word[i])) {
      return false;
    }
  }
  return true;
}

std::span<const std::uint8_t> SourceReader::View(std::int64_t offset, std::size_t count) {
  // Most views fall in the block used last, which is already the most recent in the cache's
  // order; it is served without a look through the cache.
  if (offset >= recentStart_ && offset < recentEnd_) {
    return {recent_ + (offset - recentStart_),
            std::min(count, static_cast<std::size_t>(recentEnd_ - offset))};
  }
  if (offset < 0 || offset >= length_) return {};
  if (!file_) {
    return {recent_ + offset, std::min(count, static_cast<std::size_t>(length_ - offset))};
  }
  const Block& block = LoadBlock(offset - offset % kBlockSize);
  const auto index = static_cast<std::size_t>(offset - block.start);
  if (index >= block.bytes.size()) return {};
  return {block.bytes.data() + index, std::min(count, block.bytes.size() - index)};
}

std::size_t SourceReader::Read(std::int64_t offset, std::size_t count, std::uint8_t* out) {
  if (offset < 0 || offset >= length_) return 0;
  std::size_t done = 0;
  while (done < count) {
    const auto piece = View(offset + static_cast<std::int64_t>(done), count - done);
    if (piece.empty()) break;
    std::memcpy(out + done, piece.data(), piece.size());
    done += piece.size();
  }
  return done;
}

std::vector<std::uint8_t> SourceReader::ReadVector(std::int64_t offset, std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  bytes.resize(Read(offset, count, bytes.data()));
  return bytes;
}

}  // namespace tarnwick
