#pragma once

#include <string>

namespace tarnwick::cli {

// Makes sure the folder given with -o exists, creating it and its parents when missing.
// False, with the reason in `error`, when it cannot be had or is not a folder.
bool PrepareDestination(const std::string& folder, std::string& error);

}  // namespace tarnwick::cli
