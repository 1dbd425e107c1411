#include <windows.h>

#include "child_program.h"
#include "temp_folder.h"
#include "win32_text.h"

namespace tarnwick::test {

namespace {

// One argument as CommandLineToArgvW and the C runtime split it again: quoted when it holds a
// blank or a quote, with the backslashes before a quote doubled.
std::wstring CommandLineArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// A file that the child inherits as one of its standard handles.
HANDLE InheritedFile(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

// The output goes to files rather than pipes, so that a child that writes much to both streams
// never waits for this process to read.
CommandResult RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  TempFolder scratch;
  const std::string outFile = scratch.File("stdout");
  const std::string errFile = scratch.File("stderr");
  std::wstring commandLine = CommandLineArgument(Wide(program));
  for (const std::string& argument : arguments) {
    commandLine += L" " + CommandLineArgument(Wide(argument));
  }
  const HANDLE input = InheritedFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  const HANDLE output = InheritedFile(Wide(outFile), GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE errors = InheritedFile(Wide(errFile), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = errors;
  PROCESS_INFORMATION child{};
  CommandResult result;
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &child)) {
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 0;
    if (GetExitCodeProcess(child.hProcess, &status)) result.status = static_cast<int>(status);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  } else {
    result.err = "cannot start " + program + ": " + LastSystemErrorText();
  }
  for (const HANDLE handle : {input, output, errors}) CloseHandle(handle);
  if (result.status != -1) {
    result.out = ReadFile(outFile);
    result.err = ReadFile(errFile);
  }
  return result;
}

}  // namespace tarnwick::test
