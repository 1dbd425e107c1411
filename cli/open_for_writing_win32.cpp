#include "open_for_writing.h"

#include "win32_text.h"

namespace tarnwick::cli {

// fopen would read the path in the ANSI code page.
std::FILE* OpenForWriting(const std::string& path) { return _wfopen(Wide(path).c_str(), L"wb"); }

}  // namespace tarnwick::cli
