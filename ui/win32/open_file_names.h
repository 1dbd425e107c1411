#pragma once

#include <string>
#include <vector>

namespace tarnwick::win32 {

// The paths in the buffer that the file-open dialog fills with multiple selection allowed: one
// whole path, or a folder followed by names in it, each ended by a null and the whole by a
// second one. Nothing is read past `size` characters, even when the ending null is missing.
std::vector<std::wstring> SplitOpenFileNames(const wchar_t* buffer, std::size_t size);

}  // namespace tarnwick::win32
