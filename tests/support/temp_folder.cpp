#include "temp_folder.h"

#include <cstdlib>

#include "system_environment.h"
#include "utf8_path.h"

namespace tarnwick::test {

std::filesystem::path TempFolder::operator/(std::string_view name) const {
  return Utf8Path(File(name));
}

PathText::PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  utf8_.assign(text.begin(), text.end());
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

}  // namespace tarnwick::test
