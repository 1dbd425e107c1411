#include "open_file_names.h"

namespace tarnwick::win32 {

std::vector<std::wstring> SplitOpenFileNames(const wchar_t* buffer, std::size_t size) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (start < size && buffer[start] != L'\0') {
    std::size_t end = start;
    while (end < size && buffer[end] != L'\0') ++end;
    if (end == size) break;  // a name cut by the buffer's end is no name
    parts.emplace_back(buffer + start, end - start);
    start = end + 1;
  }
  if (parts.size() <= 1) return parts;
  std::wstring folder = parts.front();
  // The folder of a drive's root ends in its separator already.
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> paths;
  for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
  return paths;
}

}  // namespace tarnwick::win32
