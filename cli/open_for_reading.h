#pragma once

#include <cstdio>
#include <string>

namespace tarnwick::cli {

// Opens the file at a UTF-8 path for reading bytes, as std::fopen does; null with errno set when
// it cannot.
std::FILE* OpenForReading(const std::string& path);

}  // namespace tarnwick::cli
