#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "system_environment.h"

namespace tarnwick::test {

// A random name that nobody has taken, made as mkdtemp would but on every system.
TempFolder::TempFolder() {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  std::random_device random;
  const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    std::string name = "tarnwick-test-";
    for (int i = 0; i < 6; ++i) name += letters[random() % (sizeof letters - 1)];
    std::error_code failure;
    if (std::filesystem::create_directory(base / name, failure)) {
      path_ = (base / name).string();
      std::filesystem::permissions(path_, std::filesystem::perms::owner_all, failure);
    }
  }
  if (path_.empty()) ADD_FAILURE() << "cannot make a temporary folder in " << base;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value)
    : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) {
    hadValue_ = true;
    oldValue_ = old;
  }
  SetProcessVariable(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  if (hadValue_) {
    SetProcessVariable(name_, oldValue_);
  } else {
    RemoveProcessVariable(name_);
  }
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file.good()) ADD_FAILURE() << "cannot write " << path;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file.good()) {
    ADD_FAILURE() << "cannot read " << path;
    return {};
  }
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tarnwick::test
