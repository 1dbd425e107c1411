#include "posix_source_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick {

bool PosixSourceFile::ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
                             std::size_t& got) {
  got = 0;
  while (got < count) {
    const ssize_t n = ::pread(file_.fd(), out + got, count - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error_ = errno;
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

std::string PosixSourceFile::ErrorText() const { return std::strerror(error_); }

}  // namespace tarnwick
