#include "probe.h"

#include <windows.h>

#include "command_line_quoting.h"

namespace tarnwick::test {

std::filesystem::path ProbePath() {
  std::wstring self(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    if (length < self.size()) {
      self.resize(length);
      break;
    }
    self.resize(self.size() * 2);
  }
  return std::filesystem::path(self).parent_path() / L"win32_services_probe.exe";
}

int RunProbe(const std::vector<std::wstring>& arguments) {
  const std::wstring program = ProbePath().wstring();
  std::vector<std::wstring> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::wstring commandLine = QuoteArguments(words);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

}  // namespace tarnwick::test
