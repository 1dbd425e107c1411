#pragma once

#include <windows.h>

#include <string>

namespace tarnwick {

// UTF-8 inside, UTF-16 at every Windows call. Invalid sequences become U+FFFD either way.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
std::string Utf8(const wchar_t* wide);

// The path as the wide-character file functions take it. A path too long for MAX_PATH is made
// absolute and normal (backslashes only, no "." or ".." or doubled separators) and gets the
// `\\?\` prefix (`\\?\UNC\server\share\...` for a network path), which lifts the limit; a
// shorter one is passed as it is, forward slashes and all.
std::wstring LongPath(const std::string& utf8Path);
// The same path back without the prefix, as other programs and the user expect it.
std::wstring WithoutLongPrefix(const std::wstring& path);

// The system's text for an error code ("Access is denied"): its message without the trailing
// line break and period, in UTF-8.
std::string SystemErrorText(DWORD error);
// The text for GetLastError().
std::string LastSystemErrorText();

}  // namespace tarnwick
