#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "file_layer.h"

namespace tarnwick {

// Every keyword test and backward walk of the engine reads the source through this class.
// Offsets are signed so that a walk may step before the start of the file: bytes outside the
// file are never read and every test on them fails. Blocks of the file are cached, so the
// byte-by-byte walks cost memory accesses, not system calls. A failed read of the file layer, or
// one that comes back short because the file shrank, is remembered; the engine ends the job at
// its next safe point. A reader may also serve bytes held in memory (objects unpacked from a
// compressed stream), so that the same rules run over them.
class SourceReader {
 public:
  explicit SourceReader(SourceFile& file);
  // Serves `bytes`, which must outlive the reader, as if they were a file.
  explicit SourceReader(std::span<const std::uint8_t> bytes);

  std::int64_t Length() const { return length_; }
  bool Failed() const { return failed_; }
  // True when the file read shorter than it was when the job opened it; Failed() is then too.
  bool Shrank() const { return shrank_; }
  // Reads the file's last byte past the cache, so that a file that shrank since its blocks
  // were read is known as such.
  void CheckStillWhole();
  // The file the bytes come from; null when they are in memory.
  SourceFile* File() const { return file_; }

  // The byte at `offset`, or -1 outside the file.
  int ByteAt(std::int64_t offset) {
    if (offset >= recentStart_ && offset < recentEnd_) return recent_[offset - recentStart_];
    if (offset < 0 || offset >= length_) return -1;
    return LoadByte(offset);
  }

  // True when every byte of `word` is in the file at `offset` onwards and equal.
  bool Matches(std::int64_t offset, std::string_view word);
  // The same for a word written in the code: its length is known when compiling, so the test
  // needs no call where the bytes are in the block used last, as most are.
  template <std::size_t N>
  bool Matches(std::int64_t offset, const char (&word)[N]) {
    constexpr auto kSize = static_cast<std::int64_t>(N - 1);
    if (offset >= recentStart_ && offset + kSize <= recentEnd_) {
      return std::memcmp(recent_ + (offset - recentStart_), word, N - 1) == 0;
    }
    return Matches(offset, std::string_view(word, N - 1));
  }

  // Up to `count` bytes at `offset` as they lie in the block cache, without copying: fewer where
  // a block or the file ends, none outside the file. Valid until the next call on the reader.
  std::span<const std::uint8_t> View(std::int64_t offset, std::size_t count);

  // Copies the bytes of [offset, offset + count) that lie in the file; returns how many.
  std::size_t Read(std::int64_t offset, std::size_t count, std::uint8_t* out);
  std::vector<std::uint8_t> ReadVector(std::int64_t offset, std::size_t count);

 private:
  struct Block {
    std::int64_t start = -1;
    std::vector<std::uint8_t> bytes;
    std::uint64_t lastUse = 0;
  };
  static constexpr std::int64_t kBlockSize = 64 * 1024;
  static constexpr std::size_t kBlockCount = 8;

  int LoadByte(std::int64_t offset);
  Block& LoadBlock(std::int64_t blockStart);
  Block& MakeRecent(Block& block);

  SourceFile* file_;  // null when the bytes are in memory
  std::int64_t length_;
  bool failed_ = false;
  bool shrank_ = false;
  // The block used longest ago gives way: the copy walks the file while page-tree nodes are
  // read from one place again and again, and those should stay.
  std::array<Block, kBlockCount> blocks_;
  std::uint64_t uses_ = 0;
  // The block used last, where the next byte is most likely found.
  const std::uint8_t* recent_ = nullptr;
  std::int64_t recentStart_ = 0;
  std::int64_t recentEnd_ = 0;
};

}  // namespace tarnwick
