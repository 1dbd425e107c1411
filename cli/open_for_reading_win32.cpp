#include "open_for_reading.h"

#include "win32_text.h"

namespace tarnwick::cli {

// fopen would read the path in the ANSI code page.
std::FILE* OpenForReading(const std::string& path) { return _wfopen(Wide(path).c_str(), L"rb"); }

}  // namespace tarnwick::cli
