#pragma once

#include <cstdio>
#include <string>

namespace tarnwick::cli {

// Creates or empties the file at a UTF-8 path for writing bytes, as std::fopen does; null with
// errno set when it cannot.
std::FILE* OpenForWriting(const std::string& path);

}  // namespace tarnwick::cli
