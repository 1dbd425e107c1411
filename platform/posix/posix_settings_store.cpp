#include "posix_settings_store.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "ini_document.h"

namespace tarnwick {

namespace {

// The file's text; nothing when it is missing or cannot be read.
std::optional<std::string> ReadText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return std::nullopt;
  return text;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Replaces the file's content in one step: a reader sees either the old text or the new one,
// never a half-written file, also when the program ends in the middle of a write.
bool ReplaceText(const std::string& path, const std::string& text) {
  namespace fs = std::filesystem;
  std::error_code error;
  // A settings file linked from elsewhere stays a link; its target gets the new text.
  struct stat link {};
  const bool isLink = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
  const fs::path target = isLink ? fs::canonical(path, error) : fs::path(path);
  if (error) return false;
  if (target.has_parent_path()) {
    fs::create_directories(target.parent_path(), error);
    if (error) return false;
  }
  std::string temporary = target.string() + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  struct stat old {};
  const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

// An unset variable and an empty one mean the same, as in the XDG base directory rules.
std::string Variable(Environment& environment, const std::string& name) {
  return environment.Get(name).value_or("");
}

}  // namespace

PosixSettingsStore::PosixSettingsStore(std::string path) : path_(std::move(path)) {}

std::string PosixSettingsStore::Read(const std::string& key, const std::string& name) {
  const auto text = ReadText(path_);
  if (!text) return "";
  return IniDocument(*text).Find(key, name).value_or("");
}

bool PosixSettingsStore::Write(const std::string& key, const std::string& name,
                               const std::string& value) {
  std::string text;
  if (::access(path_.c_str(), F_OK) == 0) {
    const auto old = ReadText(path_);
    // An unreadable file is left alone rather than replaced by one holding only this value.
    if (!old) return false;
    text = *old;
  }
  IniDocument document(text);
  return document.Set(key, name, value) && ReplaceText(path_, document.Text());
}

bool PosixSettingsStore::RemoveKey(const std::string& key) {
  if (::access(path_.c_str(), F_OK) != 0) return true;
  const auto text = ReadText(path_);
  if (!text) return false;
  IniDocument document(*text);
  return !document.RemoveSection(key) || ReplaceText(path_, document.Text());
}

std::string DefaultSettingsPath(Environment& environment) {
  if (auto path = Variable(environment, "TARNWICK_REGISTRY"); !path.empty()) return path;
  std::string config = Variable(environment, "XDG_CONFIG_HOME");
  if (config.empty()) {
    const std::string home = Variable(environment, "HOME");
    if (!home.empty()) config = home + "/.config";
  }
  if (!config.empty()) {
    const std::string user = config + "/tarnwick/registry.ini";
    if (::access(user.c_str(), F_OK) == 0) return user;
  }
  // The installation writes the system-wide file (as it registers the program for everyone);
  // a user without a file of their own reads what it wrote.
  return "/etc/xdg/tarnwick/registry.ini";
}

}  // namespace tarnwick
