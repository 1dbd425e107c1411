#include "utf8_streams.h"

namespace tarnwick {

std::FILE* OpenStreamForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

std::FILE* OpenStreamForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

}  // namespace tarnwick
