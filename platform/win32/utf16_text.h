#pragma once

#include <string>

namespace tarnwick {

// The program keeps its text in UTF-8 and hands Windows UTF-16. Bytes that are not UTF-8 become
// U+FFFD, as do unpaired surrogates on the way back.
std::wstring ToUtf16(const std::string& text);
std::string ToUtf8(const std::wstring& text);

}  // namespace tarnwick
