#include "posix_settings_store.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// A base folder of the user's: the variable when it holds an absolute path, else `inHome` under
// $HOME; empty when neither is there.
std::string UserFolder(Environment& environment, const std::string& variable,
                       const std::string& inHome) {
  if (std::string folder = Variable(environment, variable); folder.starts_with('/')) return folder;
  const std::string home = Variable(environment, "HOME");
  return home.empty() ? home : home + "/" + inHome;
}

}  // namespace

PosixSettingsStore::PosixSettingsStore(SettingsFiles files, std::string defaults)
    : files_(std::move(files)), defaults_(std::move(defaults)) {}

std::string PosixSettingsStore::Read(const std::string& key, const std::string& name) {
  std::vector<std::string> paths{files_.own};
  paths.insert(paths.end(), files_.shared.begin(), files_.shared.end());
  for (const std::string& path : paths) {
    if (const auto text = ReadText(path)) {
      if (auto value = IniDocument(*text).Find(key, name)) return *value;
    }
  }
  return IniDocument(defaults_).Find(key, name).value_or("");
}

bool PosixSettingsStore::Write(const std::string& key, const std::string& name,
                               const std::string& value) {
  const std::string& own = files_.own;
  if (own.empty()) return false;
  std::string text;
  if (::access(own.c_str(), F_OK) == 0) {
    const auto old = ReadText(own);
    // An unreadable file is left alone rather than replaced by one holding only this value.
    if (!old) return false;
    text = *old;
  }
  IniDocument document(text);
  return document.Set(key, name, value) && ReplaceText(own, document.Text());
}

bool PosixSettingsStore::RemoveKey(const std::string& key) {
  const std::string& own = files_.own;
  if (own.empty() || ::access(own.c_str(), F_OK) != 0) return true;
  const auto text = ReadText(own);
  if (!text) return false;
  IniDocument document(*text);
  return !document.RemoveSection(key) || ReplaceText(own, document.Text());
}

SettingsFiles DefaultSettingsFiles(Environment& environment) {
  if (auto path = Variable(environment, "TARNWICK_REGISTRY"); !path.empty()) return {path, {}};
  SettingsFiles files;
  if (const std::string config = UserFolder(environment, "XDG_CONFIG_HOME", ".config");
      !config.empty()) {
    files.own = config + "/tarnwick/registry.ini";
  }
  std::string dirs = Variable(environment, "XDG_CONFIG_DIRS");
  if (dirs.empty()) dirs = "/etc/xdg";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    std::string dir = dirs.substr(start, end - start);
    while (dir.size() > 1 && dir.ends_with('/')) dir.pop_back();
    // Relative entries are ignored, as the base directory rules say.
    if (dir.starts_with('/')) files.shared.push_back(dir + "/tarnwick/registry.ini");
    start = end + 1;
  }
  return files;
}

std::string UserStateFolder(Environment& environment) {
  const std::string state = UserFolder(environment, "XDG_STATE_HOME", ".local/state");
  return state.empty() ? state : state + "/tarnwick";
}

}  // namespace tarnwick
