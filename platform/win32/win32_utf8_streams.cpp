#include "utf8_streams.h"
#include "win32_text.h"

namespace tarnwick {

// fopen would read the path in the ANSI code page.
std::FILE* OpenStreamForReading(const std::string& path) {
  return _wfopen(Wide(path).c_str(), L"rb");
}

std::FILE* OpenStreamForWriting(const std::string& path) {
  return _wfopen(Wide(path).c_str(), L"wb");
}

}  // namespace tarnwick
