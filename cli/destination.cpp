#include "destination.h"

#include <filesystem>
#include <system_error>

namespace tarnwick::cli {

bool PrepareDestination(const std::string& folder, std::string& error) {
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  if (!failure && std::filesystem::is_directory(folder, failure)) return true;
  error = folder + ": " + (failure ? failure.message() : "not a folder");
  return false;
}

}  // namespace tarnwick::cli
