#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::test {

// A fresh folder, only the user's, in the system's temporary folder, removed with everything in it when the object goes, so
// that every test works on real files without leaving any behind.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing separator.
  const std::string& Path() const { return path_; }
  // The path of `name` inside the folder.
  std::string File(std::string_view name) const { return (*this / name).string(); }
  std::filesystem::path operator/(std::string_view name) const {
    return std::filesystem::path(path_) / name;
  }

 private:
  std::string path_;
};

// Sets an environment variable (the temporary folder's, say) for the object's lifetime and restores the old
// value, or its absence, afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::string& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  bool hadValue_ = false;
  std::string oldValue_;
};

// Whole-file helpers. Both fail the running test when the file cannot be written or read.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);
// The names of everything in `folder`, hidden files included, sorted.
std::vector<std::string> FileNames(const std::string& folder);

}  // namespace tarnwick::test
