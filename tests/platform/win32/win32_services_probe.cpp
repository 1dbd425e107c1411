// A second process for the tests of the Windows services. Modes:
//   find-title <title>                 exits kFound or kNotFound, by FindWindowW
//   record-arguments <file> [args...]  writes each argument and a line feed to <file> (in UTF-8,
//                                      complete when the file appears) and exits kRecorded
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "probe_results.h"

namespace {

std::string Utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), length, nullptr, nullptr);
  narrow.pop_back();  // the terminator
  return narrow;
}

int RecordArguments(int count, wchar_t** arguments) {
  const std::wstring file = arguments[2];
  const std::wstring part = file + L".part";
  FILE* out = _wfopen(part.c_str(), L"wb");
  if (out == nullptr) return tarnwick::probe::kFailed;
  for (int index = 3; index < count; ++index) {
    const std::string line = Utf8(arguments[index]) + '\n';
    std::fwrite(line.data(), 1, line.size(), out);
  }
  if (std::fclose(out) != 0 || !MoveFileExW(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return tarnwick::probe::kFailed;
  }
  return tarnwick::probe::kRecorded;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count < 3) return tarnwick::probe::kFailed;
  const std::wstring mode = arguments[1];
  if (mode == L"find-title") {
    return FindWindowW(nullptr, arguments[2]) != nullptr ? tarnwick::probe::kFound
                                                         : tarnwick::probe::kNotFound;
  }
  if (mode == L"record-arguments") return RecordArguments(count, arguments);
  return tarnwick::probe::kFailed;
}
