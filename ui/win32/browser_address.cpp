#include "browser_address.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "app_texts.h"

namespace tarnwick::win32::browser {
namespace {

// "about:" or "file:" but not the drive letter of "C:\".
bool HasScheme(const std::string& address) {
  const auto colon = address.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  const std::string_view scheme = std::string_view(address).substr(0, colon);
  return std::all_of(scheme.begin(), scheme.end(),
                     [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; });
}

bool HasToolbarFragment(const std::string& address) { return address.ends_with(ui::kNoToolbar); }

std::string WithoutToolbarFragment(const std::string& address) {
  const std::string_view fragment = ui::kNoToolbar;
  return HasToolbarFragment(address) ? address.substr(0, address.size() - fragment.size())
                                     : address;
}

// Both separators become '/'. '%' and '#' are escaped, as a folder or file may be named with
// them; so is the space, which legacy URL parsers cut at. Other characters stay as they are:
// older engines read percent-escaped bytes beyond ASCII in the ANSI code page, not as UTF-8.
std::string FileUrlPath(const std::string& path) {
  std::string escaped;
  for (const char c : path) {
    switch (c) {
      case '\\':
        escaped += '/';
        break;
      case '%':
        escaped += "%25";
        break;
      case '#':
        escaped += "%23";
        break;
      case ' ':
        escaped += "%20";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string ControlAddress(const std::string& address) {
  if (HasScheme(address)) return address;
  // A bare path with a fragment is ambiguous to the control: older engines take "#toolbar=0"
  // for part of the file's name. In a file URL the fragment is unmistakable.
  const std::string path = FileUrlPath(WithoutToolbarFragment(address));
  const std::string fragment = HasToolbarFragment(address) ? ui::kNoToolbar : "";
  // A UNC path "\\server\share" already begins with the URL's two slashes.
  const std::string prefix = path.starts_with("//") ? "file:" : "file:///";
  return prefix + path + fragment;
}

std::string ShownFile(const std::string& address) {
  if (HasScheme(address)) return {};
  // The work folder's paths are built with forward slashes; users read backslashes.
  std::string path = WithoutToolbarFragment(address);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace tarnwick::win32::browser
