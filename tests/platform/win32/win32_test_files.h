#pragma once

#include <string>
#include <vector>

namespace tarnwick::test {

// A fresh folder in the user's temporary folder, removed with everything in it when the object
// goes. Paths are UTF-8 with backslashes, as a Windows user gives them.
class Win32TempFolder {
 public:
  Win32TempFolder();
  ~Win32TempFolder();
  Win32TempFolder(const Win32TempFolder&) = delete;
  Win32TempFolder& operator=(const Win32TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + '\\' + name; }

 private:
  std::string path_;
};

// Whole files, read and written with the system's functions (long paths too), sharing
// everything so that they work beside a job's handles.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> FileNames(const std::string& folder);
// Removes a file or a folder with everything in it.
void RemoveAll(const std::string& path);
// Runs a command line and returns its exit code, or -1 when it could not be started.
int RunProgram(const std::string& commandLine);

}  // namespace tarnwick::test
