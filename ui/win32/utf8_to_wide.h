#pragma once

#include <string>

namespace tarnwick::win32::browser {

// The UTF-16 form of UTF-8 text, for the wide-character calls of the browser pane.
std::wstring Utf8ToWide(const std::string& text);

}  // namespace tarnwick::win32::browser
