#include "win32_shell.h"

#include <windows.h>

#include <shellapi.h>

#include "command_line_quoting.h"
#include "search_path.h"
#include "win32_text.h"

namespace tarnwick {

namespace {

constexpr int kLastFailure = 32;

}  // namespace

int Win32Shell::Open(const std::string& file, const std::vector<std::string>& arguments) {
  const std::wstring wideFile = Wide(file);
  std::vector<std::wstring> wideArguments;
  for (const std::string& argument : arguments) wideArguments.push_back(Wide(argument));
  const std::wstring parameters = QuoteArguments(wideArguments);

  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The start is finished before returning: the caller may end the process right after.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = wideFile.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
  return static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
}

bool Win32Shell::ShowDocument(const std::string& document, const std::string& programFolder) {
  AddToSearchPath(environment_, programFolder, ';');
  return Open(document, {}) > kLastFailure;
}

}  // namespace tarnwick
