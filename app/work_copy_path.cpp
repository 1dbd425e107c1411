#include "work_copy_path.h"

#include <cctype>

#include "path_separators.h"

namespace tarnwick {

bool IsWorkFolderName(const std::string& name) {
  int numbers = 0;
  bool inNumber = false;
  for (char c : name) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      if (!inNumber) ++numbers;
      inNumber = true;
    } else if (c == '-' && inNumber) {
      inNumber = false;
    } else {
      return false;
    }
  }
  return inNumber && numbers == 6;
}

bool IsWorkCopyPath(const std::string& temporaryFolder, const std::string& path) {
  if (temporaryFolder.empty() || !EndsWithSeparator(temporaryFolder) ||
      path.size() <= temporaryFolder.size() || !path.starts_with(temporaryFolder)) {
    return false;
  }
  const std::string inside = path.substr(temporaryFolder.size());
  const std::size_t separator = inside.find_first_of(kPathSeparators);
  if (separator == std::string::npos ||
      inside.find_first_of(kPathSeparators, separator + 1) != std::string::npos) {
    return false;
  }
  const std::string name = inside.substr(separator + 1);
  return IsWorkFolderName(inside.substr(0, separator)) && !name.empty() && name != "." &&
         name != "..";
}

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of(kPathSeparators);
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

}  // namespace tarnwick
