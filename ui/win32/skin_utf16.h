#pragma once

#include <string>

namespace tarnwick::win32::skin {

// The UTF-8 text as the wide-character API takes it; invalid bytes become U+FFFD.
std::wstring ToUtf16(const std::string& utf8);

}  // namespace tarnwick::win32::skin
