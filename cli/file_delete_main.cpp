// fileDelete COPY FOLDER: deletes a repaired work copy that the desktop program could not delete
// when it ended (the copy was still in use), then its work folder when that is empty. Started
// detached by the program; it retries for a while because whatever held the copy may still be
// letting go. It deletes nothing but a work copy in the user's private temporary folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#include "native_platform.h"
#include "work_copy_path.h"

namespace {

constexpr int kAttempts = 120;
constexpr auto kPause = std::chrono::milliseconds(500);

bool DeleteCopy(const std::string& copy) {
  struct stat info {};
  if (::stat(copy.c_str(), &info) == 0) ::chmod(copy.c_str(), (info.st_mode & 07777) | S_IWUSR);
  return ::unlink(copy.c_str()) == 0 || errno == ENOENT;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: fileDelete COPY FOLDER\n";
    return 2;
  }
  const std::string copy = argv[1];
  const std::string folder = argv[2];
  std::string error;
  const std::optional<std::string> temporary = tarnwick::PrivateTemporaryFolder(error);
  if (!temporary || !tarnwick::IsWorkCopyPath(*temporary, copy) ||
      tarnwick::FolderOf(copy) != folder) {
    std::cerr << "fileDelete: not a work copy of this user: " << copy << '\n';
    return 2;
  }
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (DeleteCopy(copy)) {
      ::rmdir(folder.c_str());
      return 0;
    }
    std::this_thread::sleep_for(kPause);
  }
  std::cerr << "fileDelete: cannot delete " << copy << '\n';
  return 1;
}
