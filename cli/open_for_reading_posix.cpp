#include "open_for_reading.h"

namespace tarnwick::cli {

std::FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

}  // namespace tarnwick::cli
