// fileDelete COPY FOLDER: deletes a repaired work copy that the desktop program could not delete
// when it ended (the copy was still in use), then its work folder when that is empty. Started
// detached by the program; it retries for a while because whatever held the copy may still be
// letting go. It deletes nothing but a work copy in the user's private temporary folder.
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "native_platform.h"
#include "program_arguments.h"
#include "utf8_path.h"
#include "work_copy_path.h"
#include "work_path_form.h"

namespace {

constexpr int kAttempts = 120;
constexpr auto kPause = std::chrono::milliseconds(500);

namespace fs = std::filesystem;
using tarnwick::Utf8Path;

// A read-only copy is made writable first: Windows deletes no read-only file. A copy that is
// already gone counts as deleted.
bool DeleteCopy(const fs::path& copy) {
  std::error_code ignored;
  fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add, ignored);
  std::error_code failure;
  fs::remove(copy, failure);
  return !failure;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = tarnwick::ProgramArguments(argc, argv);
  if (arguments.size() != 2) {
    std::cerr << "usage: fileDelete COPY FOLDER\n";
    return 2;
  }
  const std::string copy = tarnwick::AsWorkPath(arguments[0]);
  const std::string folder = tarnwick::AsWorkPath(arguments[1]);
  std::string error;
  const std::optional<std::string> temporary = tarnwick::PrivateTemporaryFolder(error);
  if (!temporary || !tarnwick::IsWorkCopyPath(*temporary, copy) ||
      tarnwick::FolderOf(copy) != folder) {
    std::cerr << "fileDelete: not a work copy of this user: " << copy << '\n';
    return 2;
  }
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (DeleteCopy(Utf8Path(copy))) {
      std::error_code notEmpty;
      fs::remove(Utf8Path(folder), notEmpty);
      return 0;
    }
    std::this_thread::sleep_for(kPause);
  }
  std::cerr << "fileDelete: cannot delete " << copy << '\n';
  return 1;
}
