#pragma once

#include <optional>
#include <string>

#include "process_services.h"

namespace tarnwick {

// Adds `folder` at the end of this process's program search path (PATH), whose entries the
// system parts with `separator`, so that the programs it starts inherit it. Nothing changes
// without a folder or without a search path, and no empty entry is made: on POSIX that would put
// the current folder on the search path.
inline void AddToSearchPath(Environment& environment, const std::string& folder, char separator) {
  if (folder.empty()) return;
  const std::optional<std::string> path = environment.Get("PATH");
  if (!path) return;
  environment.Set("PATH", path->empty() ? folder : *path + separator + folder);
}

}  // namespace tarnwick
