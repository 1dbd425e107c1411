#include "report_file.h"

#include <cerrno>
#include <cstring>

#include "utf8_streams.h"

namespace tarnwick::cli {

ReportFile::~ReportFile() {
  if (file_) std::fclose(file_);
}

bool ReportFile::Open(const std::string& path, std::string& error) {
  path_ = path;
  file_ = OpenStreamForWriting(path);
  if (!file_) error = path + ": " + std::strerror(errno);
  return file_ != nullptr;
}

bool ReportFile::WriteLine(const std::string& line, std::string& error) {
  const std::string whole = line + '\n';
  errno = 0;
  if (std::fwrite(whole.data(), 1, whole.size(), file_) == whole.size() &&
      std::fflush(file_) == 0) {
    return true;
  }
  error = path_ + ": " + (errno != 0 ? std::strerror(errno) : "the report could not be written");
  return false;
}

}  // namespace tarnwick::cli
