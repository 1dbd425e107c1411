#pragma once

#include <filesystem>
#include <string>

namespace tarnwick {

// The path named by UTF-8 text: a path made from char would take the ANSI code page on Windows.
inline std::filesystem::path Utf8Path(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace tarnwick
