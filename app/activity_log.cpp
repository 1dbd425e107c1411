#include "activity_log.h"

#include <cstdint>

#include "app_texts.h"

namespace tarnwick {
namespace {

constexpr std::uint64_t kLogSizeLimit = 5'242'880;

std::string LogFilePath(AppContext& app) {
  SettingsStore& settings = app.desktop.settings;
  const std::string& key = app.settings.settingsKeyName;
  std::string folder = settings.Read(key, "LogPath");
  if (folder.empty() || !app.desktop.files.Exists(folder)) folder = settings.Read(key, "FilePath");
  if (!folder.ends_with('/')) folder += '/';
  return folder + ui::kLogFileName;
}

// Length of the valid UTF-8 sequence at `at`, or 0.
std::size_t SequenceLength(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  std::uint32_t value = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  return value >= minimum && value <= 0x10FFFF && !surrogate ? length : 0;
}

// The log, opened for appending; started afresh when it has grown past its limit.
std::unique_ptr<AppendFile> OpenLog(AppContext& app) {
  DesktopFiles& files = app.desktop.files;
  const std::string path = LogFilePath(app);
  if (files.Exists(path)) files.ResetAttributes(path);
  std::unique_ptr<AppendFile> log = files.OpenForAppending(path);
  if (log && log->Size() > kLogSizeLimit) {
    log.reset();
    files.ResetAttributes(path);
    files.Delete(path);
    log = files.OpenForAppending(path);
  }
  return log;
}

}  // namespace

std::string LogBytes(const std::string& text) {
  const std::string whole = text.substr(0, text.find('\0'));
  std::string converted;
  converted.reserve(whole.size());
  for (std::size_t at = 0; at < whole.size();) {
    const std::size_t length = SequenceLength(whole, at);
    if (length == 0) {
      converted += '?';
      ++at;
    } else {
      converted.append(whole, at, length);
      at += length;
    }
  }
  return converted;
}

bool AppendToLog(AppContext& app, const std::string& text) {
  const std::unique_ptr<AppendFile> log = OpenLog(app);
  return log && log->Append(LogBytes(text));
}

bool StartLogLine(AppContext& app) {
  const std::unique_ptr<AppendFile> log = OpenLog(app);
  return log && (log->EndsLine() || log->Append("\r\n"));
}

}  // namespace tarnwick
