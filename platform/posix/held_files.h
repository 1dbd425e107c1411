#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <mutex>
#include <set>
#include <utility>

namespace tarnwick {

// Why an operation on a held file was refused.
inline constexpr char kHeldByJob[] = "the file is held by a running repair job";

// The files that repair jobs of this process hold open, by device and inode. On Windows a file
// opened without sharing cannot be deleted or reopened; here the file layer asks this registry
// instead, which also catches other names of the same file (hard and symbolic links).
class HeldFiles {
 public:
  static HeldFiles& Instance();

  // Runs `action` while no other thread can hold or release a file.
  template <typename Action>
  auto Locked(Action action) {
    std::lock_guard lock(mutex_);
    return action();
  }
  // These three expect the caller to be inside Locked().
  bool IsHeld(dev_t device, ino_t inode) const { return held_.count({device, inode}) > 0; }
  void Hold(dev_t device, ino_t inode) { held_.insert({device, inode}); }
  void Release(dev_t device, ino_t inode) {
    const auto found = held_.find({device, inode});
    if (found != held_.end()) held_.erase(found);
  }

 private:
  std::mutex mutex_;
  std::multiset<std::pair<dev_t, ino_t>> held_;
};

// A job's open file, held by the caller inside Locked(): closes its descriptor and releases the
// hold.
class HeldDescriptor {
 public:
  HeldDescriptor(int fd, const struct stat& info)
      : fd_(fd), device_(info.st_dev), inode_(info.st_ino) {}
  ~HeldDescriptor() { Close(); }
  HeldDescriptor(const HeldDescriptor&) = delete;
  HeldDescriptor& operator=(const HeldDescriptor&) = delete;

  int fd() const { return fd_; }
  // Closes first, so that the file is never reopened while this descriptor still writes to it.
  bool Close();

 private:
  int fd_;
  dev_t device_;
  ino_t inode_;
};

}  // namespace tarnwick
