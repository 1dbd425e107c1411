#pragma once

#include <string>

namespace tarnwick {

// Paths are UTF-8 text. Windows accepts both '\' and '/' between the parts of a path and writes
// '\' itself; on POSIX a backslash is an ordinary character of a file name.
#ifdef _WIN32
inline constexpr char kPathSeparators[] = "\\/";
inline constexpr char kPreferredSeparator = '\\';
#else
inline constexpr char kPathSeparators[] = "/";
inline constexpr char kPreferredSeparator = '/';
#endif

inline bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && std::string(kPathSeparators).find(path.back()) != std::string::npos;
}

// The separator that a path already uses (its last one), else the system's own: what is added
// to the path then looks like the rest of it.
inline char SeparatorOf(const std::string& path) {
  const auto separator = path.find_last_of(kPathSeparators);
  return separator == std::string::npos ? kPreferredSeparator : path[separator];
}

// The last part of a path: everything after its last separator.
inline std::string FileNameOf(const std::string& path) {
  const auto separator = path.find_last_of(kPathSeparators);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace tarnwick
