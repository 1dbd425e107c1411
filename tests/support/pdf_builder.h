#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::test {

enum class LineEnd { kLf, kCr, kCrLf };

// Writes a PDF front to back from literal pieces and remembers where each object starts, so that
// a test can build damaged inputs byte by byte, place a keyword at an exact offset, and state the
// offsets it expects without counting bytes by hand.
//
//   PdfBuilder pdf;                        // "%PDF-1.4" and a line end
//   pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
//   pdf.XrefTable().Trailer("/Size 2 /Root 1 0 R");
class PdfBuilder {
 public:
  explicit PdfBuilder(LineEnd lineEnd = LineEnd::kLf, std::string_view header = "%PDF-1.4");

  // Appends the bytes as they are.
  PdfBuilder& Raw(std::string_view bytes);
  // Appends one line end.
  PdfBuilder& Eol();
  // Appends "N G obj", a line end, the body, a line end, "endobj" and a line end, and remembers
  // the offset of the object's first digit.
  PdfBuilder& Object(int number, std::string_view body, int generation = 0);
  // Appends spaces until the file is `offset` bytes long; fails the test when it is longer.
  PdfBuilder& PadTo(std::size_t offset);
  // Appends a cross-reference table for the objects written so far (20-byte entries, free
  // entries for missing numbers) and remembers its offset for the startxref section.
  PdfBuilder& XrefTable();
  // Appends "trailer", the dictionary "<< entries >>", the startxref section when a table was
  // written, and "%%EOF", each on its own line.
  PdfBuilder& Trailer(std::string_view entries);

  const std::string& Bytes() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }
  // Offset of the last object written with this number; fails the test when there is none.
  std::size_t OffsetOf(int number) const;
  // Offset of the first `needle` at or after `from`; fails the test when there is none.
  std::size_t Find(std::string_view needle, std::size_t from = 0) const;

 private:
  std::string_view LineEndBytes() const;

  LineEnd lineEnd_;
  std::string bytes_;
  std::map<int, std::size_t> offsets_;
  std::optional<std::size_t> xrefOffset_;
};

}  // namespace tarnwick::test
