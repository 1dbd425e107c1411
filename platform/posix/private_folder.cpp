#include "private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick {

bool MakePrivateFolder(const std::string& folder, std::string& error) {
  const auto fail = [&](const std::string& reason) {
    error = folder + ": " + reason;
    return false;
  };
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return fail(std::strerror(errno));
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) return fail(std::strerror(errno));
  // Someone else's folder, or a link planted in a shared /tmp, would let another user read or
  // replace what is kept there.
  if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
    return fail("not a private folder of this user");
  }
  if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
    return fail(std::strerror(errno));
  }
  return true;
}

bool IsPrivateFolder(const std::string& folder) {
  struct stat info {};
  return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

}  // namespace tarnwick
