#include "held_files.h"

#include <unistd.h>

namespace tarnwick {

HeldFiles& HeldFiles::Instance() {
  static HeldFiles registry;
  return registry;
}

bool HeldDescriptor::Close() {
  if (fd_ < 0) return true;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  HeldFiles::Instance().Locked([this] {
    HeldFiles::Instance().Release(device_, inode_);
    return 0;
  });
  return closed;
}

}  // namespace tarnwick
