#pragma once

#include <cstdio>
#include <string>

namespace tarnwick {

// Opens the file at a UTF-8 path for reading bytes, as std::fopen does; null with errno set when
// it cannot.
std::FILE* OpenStreamForReading(const std::string& path);
// Creates or empties the file at a UTF-8 path for writing bytes, as std::fopen does; null with
// errno set when it cannot.
std::FILE* OpenStreamForWriting(const std::string& path);

}  // namespace tarnwick
