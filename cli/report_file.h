#pragma once

#include <cstdio>
#include <string>

namespace tarnwick::cli {

// The file that --report names, opened before any job starts so that a name that cannot be
// written ends the run before it repairs anything. Each line is written whole and flushed, so
// that a reader following the file never sees half a line, and a run that ends early leaves
// every finished file's line.
class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Creates or empties `path`. False, with the path and the system's reason in `error`, when it
  // cannot.
  bool Open(const std::string& path, std::string& error);
  // False, with the path and the system's reason in `error`, when the line could not be written.
  bool WriteLine(const std::string& line, std::string& error);

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

}  // namespace tarnwick::cli
