#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::test {

// A fresh folder, only the user's, in the system's temporary folder, removed with everything in
// it when the object goes, so that every test works on real files without leaving any behind.
// Its paths are UTF-8 text with the system's separator, as a user of that system gives them.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing separator.
  const std::string& Path() const { return path_; }
  // The path of `name` (UTF-8) inside the folder.
  std::string File(std::string_view name) const;
  std::filesystem::path operator/(std::string_view name) const;

 private:
  std::string path_;
};

// A path given either as UTF-8 text or as a std::filesystem::path: on Windows a path made from
// char text would take the ANSI code page, so the helpers below take the text as it is.
class PathText {
 public:
  PathText(const char* utf8) : utf8_(utf8) {}
  PathText(std::string utf8) : utf8_(std::move(utf8)) {}
  PathText(const std::filesystem::path& path);
  const std::string& Utf8() const { return utf8_; }

 private:
  std::string utf8_;
};

// Sets an environment variable (the temporary folder's, say) for the object's lifetime and restores
// the old value, or its absence, afterwards.
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

// Whole-file helpers, through the system's own functions so that long paths work too and the
// files are shared with a job's handles. Both fail the running test when the file cannot be
// written or read.
void WriteFile(const PathText& path, std::string_view bytes);
std::string ReadFile(const PathText& path);
// The names of everything in `folder`, hidden files included, sorted.
std::vector<std::string> FileNames(const PathText& folder);

}  // namespace tarnwick::test
