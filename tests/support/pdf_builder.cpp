#include "pdf_builder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tarnwick::test {

PdfBuilder::PdfBuilder(LineEnd lineEnd, std::string_view header) : lineEnd_(lineEnd) {
  Raw(header).Eol();
}

std::string_view PdfBuilder::LineEndBytes() const {
  switch (lineEnd_) {
    case LineEnd::kCr: return "\r";
    case LineEnd::kCrLf: return "\r\n";
    case LineEnd::kLf: break;
  }
  return "\n";
}

PdfBuilder& PdfBuilder::Raw(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}

PdfBuilder& PdfBuilder::Eol() { return Raw(LineEndBytes()); }

PdfBuilder& PdfBuilder::Object(int number, std::string_view body, int generation) {
  offsets_[number] = bytes_.size();
  Raw(std::to_string(number) + ' ' + std::to_string(generation) + " obj").Eol();
  return Raw(body).Eol().Raw("endobj").Eol();
}

PdfBuilder& PdfBuilder::PadTo(std::size_t offset) {
  if (bytes_.size() > offset) {
    ADD_FAILURE() << "the PDF is already " << bytes_.size() << " bytes long, past " << offset;
  } else {
    bytes_.append(offset - bytes_.size(), ' ');
  }
  return *this;
}

PdfBuilder& PdfBuilder::XrefTable() {
  xrefOffset_ = bytes_.size();
  const int highest = offsets_.empty() ? 0 : offsets_.rbegin()->first;
  Raw("xref").Eol().Raw("0 " + std::to_string(highest + 1)).Eol();
  // Each entry is 20 bytes: with a one-byte line end a space pads it.
  const std::string tail = lineEnd_ == LineEnd::kCrLf ? "" : " ";
  Raw("0000000000 65535 f" + tail).Eol();
  for (int number = 1; number <= highest; ++number) {
    const auto found = offsets_.find(number);
    char entry[32];
    if (found == offsets_.end()) {
      std::snprintf(entry, sizeof entry, "0000000000 00000 f");
    } else {
      std::snprintf(entry, sizeof entry, "%010zu 00000 n", found->second);
    }
    Raw(entry + tail).Eol();
  }
  return *this;
}

PdfBuilder& PdfBuilder::Trailer(std::string_view entries) {
  Raw("trailer").Eol().Raw("<< ").Raw(entries).Raw(" >>").Eol();
  if (xrefOffset_) Raw("startxref").Eol().Raw(std::to_string(*xrefOffset_)).Eol();
  return Raw("%%EOF").Eol();
}

std::size_t PdfBuilder::OffsetOf(int number) const {
  const auto found = offsets_.find(number);
  if (found == offsets_.end()) {
    ADD_FAILURE() << "no object " << number << " was written";
    return 0;
  }
  return found->second;
}

std::size_t PdfBuilder::Find(std::string_view needle, std::size_t from) const {
  const std::size_t at = bytes_.find(needle, from);
  if (at == std::string::npos) {
    ADD_FAILURE() << "\"" << needle << "\" is not in the PDF";
    return 0;
  }
  return at;
}

}  // namespace tarnwick::test
