#include "work_path_form.h"

#include <windows.h>

#include <algorithm>

#include "win32_text.h"

namespace tarnwick {

// The long form, with forward slashes as the platform writes its temporary folder; the path as
// given when the file cannot be found.
std::string AsWorkPath(const std::string& path) {
  const std::wstring given = Wide(path);
  const DWORD size = GetLongPathNameW(given.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring longForm(size, L'\0');
  const DWORD length = GetLongPathNameW(given.c_str(), longForm.data(), size);
  if (length == 0 || length >= size) return path;
  longForm.resize(length);
  std::replace(longForm.begin(), longForm.end(), L'\\', L'/');
  return Utf8(longForm);
}

}  // namespace tarnwick
