#include "open_for_writing.h"

namespace tarnwick::cli {

std::FILE* OpenForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

}  // namespace tarnwick::cli
