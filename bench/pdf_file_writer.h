#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::bench {

// Where the cross-reference table of a written file lies: from its "xref" keyword up to the
// "trailer" keyword after it.
struct XrefRange {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
};

// Writes a classic PDF file front to back: header, numbered objects in any order, then one
// cross-reference table and trailer covering objects 1 to the highest number. Every failure
// throws std::runtime_error.
class PdfFileWriter {
 public:
  PdfFileWriter(const std::string& path, int objectCount);
  ~PdfFileWriter();
  PdfFileWriter(const PdfFileWriter&) = delete;
  PdfFileWriter& operator=(const PdfFileWriter&) = delete;

  void Object(int number, std::string_view body);
  // A stream whose dictionary holds `entries` and its /Length.
  void StreamObject(int number, std::string_view entries, std::string_view data);
  // Writes the table, trailer and end-of-file marker and closes the file. Every number from 1
  // to the object count must have been written by then.
  XrefRange Finish(std::string_view trailerEntries);
  std::uint64_t Length() const { return offset_; }

 private:
  void Write(std::string_view bytes);
  void BeginObject(int number);

  std::string path_;
  std::FILE* file_;
  std::uint64_t offset_ = 0;
  std::vector<std::uint64_t> offsets_;  // by object number; 0 while not written
};

}  // namespace tarnwick::bench
