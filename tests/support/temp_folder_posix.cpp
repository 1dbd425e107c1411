#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "temp_folder.h"

namespace tarnwick::test {

// A random name that nobody has taken, made as mkdtemp would.
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

std::string TempFolder::File(std::string_view name) const {
  return path_ + '/' + std::string(name);
}

void WriteFile(const PathText& path, std::string_view bytes) {
  std::ofstream file(path.Utf8(), std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file.good()) ADD_FAILURE() << "cannot write " << path.Utf8();
}

std::string ReadFile(const PathText& path) {
  std::ifstream file(path.Utf8(), std::ios::binary);
  if (!file.good()) {
    ADD_FAILURE() << "cannot read " << path.Utf8();
    return {};
  }
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FileNames(const PathText& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Utf8())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tarnwick::test
