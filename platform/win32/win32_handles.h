#pragma once

#include <windows.h>

#include <compare>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace tarnwick {

// Why an operation on a file that a job of this process holds was refused, and why one that
// another program (or another part of this one) has open without sharing was.
inline constexpr char kHeldByJob[] = "the file is held by a running repair job";
inline constexpr char kInUse[] = "the file is in use";
inline constexpr char kNotARegularFile[] = "not a regular file";

// A file handle closed when it goes.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() { Close(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// What names one file on this system whatever its path: the volume's serial number and the
// file's index on it.
struct FileId {
  DWORD volume = 0;
  DWORD indexHigh = 0;
  DWORD indexLow = 0;
  auto operator<=>(const FileId&) const = default;
};

std::optional<FileId> IdOfHandle(HANDLE file);
// Opens the path (already in LongPath form) with no access and every sharing, which no share
// mode refuses, to see which file or folder it names; links are followed.
UniqueHandle OpenToInspect(const std::wstring& path);
std::optional<FileId> IdOfPath(const std::wstring& path);

// The files that repair jobs of this process hold open. The system enforces the holds (a job's
// files are opened without write or delete sharing); this registry only tells a refusal because
// of a job from one because of another program, for the message.
class HeldFiles {
 public:
  static HeldFiles& Instance();
  void Hold(const FileId& id);
  void Release(const FileId& id);
  bool IsHeld(const FileId& id);

 private:
  std::mutex mutex_;
  std::multiset<FileId> held_;
};

// A job's open file: closes its handle and releases the hold.
class HeldHandle {
 public:
  // Takes `handle` and holds its file.
  explicit HeldHandle(UniqueHandle handle);
  ~HeldHandle() { Close(); }
  HeldHandle(const HeldHandle&) = delete;
  HeldHandle& operator=(const HeldHandle&) = delete;

  HANDLE Get() const { return handle_.Get(); }
  bool Valid() const { return handle_.Valid(); }
  bool Close();

 private:
  UniqueHandle handle_;
  std::optional<FileId> id_;
};

// The text for a failure with `error` on `path` (in LongPath form): a sharing violation is told
// as a hold by a job when one of this process holds the file, else as a file in use.
std::string FailureText(DWORD error, const std::wstring& path);

}  // namespace tarnwick
