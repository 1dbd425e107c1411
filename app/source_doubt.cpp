#include "source_doubt.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "app_texts.h"

namespace tarnwick {
namespace {

// Readers look this far for the header; junk before it is common in files from the web.
constexpr std::size_t kHeaderSearchBytes = 1024;

}  // namespace

std::optional<std::string> SourceDoubt(FileLayer& files, const std::string& path) {
  const std::unique_ptr<SourceFile> source = files.OpenForReading(path);
  if (!source) {
    return path + ": " + files.LastErrorText() + "\n\n" + ui::kUnreadableFileQuestion;
  }
  std::array<std::uint8_t, kHeaderSearchBytes> start{};
  std::size_t got = 0;
  if (!source->ReadAt(0, start.size(), start.data(), got)) {
    return path + ": " + source->ErrorText() + "\n\n" + ui::kUnreadableFileQuestion;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(start.data()), got);
  if (bytes.find("%PDF-") != std::string_view::npos) return std::nullopt;
  return path + "\n\n" + ui::kNotAPdfQuestion;
}

}  // namespace tarnwick
