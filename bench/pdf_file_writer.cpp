#include "pdf_file_writer.h"

#include <cinttypes>
#include <stdexcept>

namespace tarnwick::bench {

namespace {

constexpr std::size_t kFileBuffer = 1 << 20;

}  // namespace

PdfFileWriter::PdfFileWriter(const std::string& path, int objectCount)
    : path_(path), file_(std::fopen(path.c_str(), "wb")),
      offsets_(static_cast<std::size_t>(objectCount) + 1, 0) {
  if (!file_) throw std::runtime_error("cannot create " + path);
  std::setvbuf(file_, nullptr, _IOFBF, kFileBuffer);
  // The comment of bytes above 0x7F tells transfer programs that the file is binary.
  Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfFileWriter::~PdfFileWriter() {
  if (file_) std::fclose(file_);
}

void PdfFileWriter::Write(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    throw std::runtime_error("cannot write " + path_);
  }
  offset_ += bytes.size();
}

void PdfFileWriter::BeginObject(int number) {
  if (number < 1 || static_cast<std::size_t>(number) >= offsets_.size() ||
      offsets_[static_cast<std::size_t>(number)] != 0) {
    throw std::logic_error("object " + std::to_string(number) + " out of range or written twice");
  }
  offsets_[static_cast<std::size_t>(number)] = offset_;
  Write(std::to_string(number) + " 0 obj\n");
}

void PdfFileWriter::Object(int number, std::string_view body) {
  BeginObject(number);
  Write(body);
  Write("\nendobj\n");
}

void PdfFileWriter::StreamObject(int number, std::string_view entries, std::string_view data) {
  BeginObject(number);
  Write("<<");
  if (!entries.empty()) Write(" ");
  Write(entries);
  Write(" /Length " + std::to_string(data.size()) + " >>\nstream\n");
  Write(data);
  Write("\nendstream\nendobj\n");
}

XrefRange PdfFileWriter::Finish(std::string_view trailerEntries) {
  XrefRange range{offset_, 0};
  Write("xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f\r\n");
  char entry[32];
  for (std::size_t number = 1; number < offsets_.size(); ++number) {
    if (offsets_[number] == 0) {
      throw std::logic_error("object " + std::to_string(number) + " was never written");
    }
    std::snprintf(entry, sizeof entry, "%010" PRIu64 " 00000 n\r\n", offsets_[number]);
    Write(entry);
  }
  range.end = offset_;
  Write("trailer\n<< /Size " + std::to_string(offsets_.size()) + " ");
  Write(trailerEntries);
  Write(" >>\nstartxref\n" + std::to_string(range.start) + "\n%%EOF\n");
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!closed) throw std::runtime_error("cannot write " + path_);
  return range;
}

}  // namespace tarnwick::bench
