#pragma once

#include <string>

namespace tarnwick {

// The path of an existing file as the platform writes the paths of its private temporary
// folder, so that the two compare as text. The desktop program hands fileDelete the short form
// of a copy, which on Windows differs from the long one.
std::string AsWorkPath(const std::string& path);

}  // namespace tarnwick
