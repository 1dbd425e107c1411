#include "win32_process_services.h"

#include <windows.h>

#include "win32_text.h"

namespace tarnwick {

void Win32ProcessEnd::EndProcess(int exitCode) {
  const UINT code = static_cast<UINT>(exitCode);
  ::TerminateProcess(::GetCurrentProcess(), code);
  ::ExitProcess(code);  // only if the termination could not even be asked for
}

std::optional<std::string> Win32Environment::Get(const std::string& name) {
  const std::wstring wideName = Wide(name);
  std::wstring value(64, L'\0');
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                   static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();  // set, but empty
    }
    if (length < value.size()) {
      value.resize(length);
      return Utf8(value);
    }
    value.resize(length);  // the size asked for includes the terminating null
  }
}

void Win32Environment::Set(const std::string& name, const std::string& value) {
  ::SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
}

}  // namespace tarnwick
