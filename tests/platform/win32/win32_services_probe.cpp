// A second process for the tests of the Windows services. Modes:
//   find-title <title>                 exits kFound or kNotFound, by FindWindowW
//   record-arguments <file> [args...]  writes each argument and a line feed to <file> (in UTF-8,
//                                      complete when the file appears) and exits kRecorded
//   (no arguments, as a document's program is started)
//                                      writes its PATH to <its own path>.path, likewise
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "probe_results.h"
#include "win32_text.h"

namespace {

int RecordLines(const std::wstring& file, const std::vector<std::wstring>& lines) {
  const std::wstring part = file + L".part";
  FILE* out = _wfopen(part.c_str(), L"wb");
  if (out == nullptr) return tarnwick::probe::kFailed;
  for (const std::wstring& line : lines) {
    const std::string text = tarnwick::Utf8(line) + '\n';
    std::fwrite(text.data(), 1, text.size(), out);
  }
  if (std::fclose(out) != 0 ||
      !MoveFileExW(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return tarnwick::probe::kFailed;
  }
  return tarnwick::probe::kRecorded;
}

int RecordSearchPath() {
  std::wstring self(32768, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  std::wstring path(32767, L'\0');
  path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
  return RecordLines(self + L".path", {path});
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments != nullptr && count == 1) return RecordSearchPath();
  if (arguments == nullptr || count < 3) return tarnwick::probe::kFailed;
  const std::wstring mode = arguments[1];
  if (mode == L"find-title") {
    return FindWindowW(nullptr, arguments[2]) != nullptr ? tarnwick::probe::kFound
                                                         : tarnwick::probe::kNotFound;
  }
  if (mode == L"record-arguments") {
    return RecordLines(arguments[2], std::vector<std::wstring>(arguments + 3, arguments + count));
  }
  return tarnwick::probe::kFailed;
}
