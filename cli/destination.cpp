#include "destination.h"

#include <filesystem>
#include <system_error>

#include "utf8_path.h"

namespace tarnwick::cli {

bool PrepareDestination(const std::string& folder, std::string& error) {
  const std::filesystem::path path = Utf8Path(folder);
  std::error_code failure;
  std::filesystem::create_directories(path, failure);
  if (!failure && std::filesystem::is_directory(path, failure)) return true;
  error = folder + ": " + (failure ? failure.message() : "not a folder");
  return false;
}

}  // namespace tarnwick::cli
