#include "hostile_pdfs.h"

#include <zlib.h>

#include <stdexcept>

namespace tarnwick::test {

namespace {

std::string Deflated(const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    throw std::runtime_error("compress2 failed");
  }
  out.resize(size);
  return out;
}

std::string Repeated(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// An object stream whose dictionary holds `entries`, with `data` deflated as its stream.
std::string ObjectStream(int number, const std::string& entries, const std::string& data) {
  const std::string deflated = Deflated(data);
  return std::to_string(number) + " 0 obj\n<< /Type /ObjStm " + entries +
         " /Filter /FlateDecode /Length " + std::to_string(deflated.size()) + " >>\nstream\n" +
         deflated + "\nendstream\nendobj\n";
}

std::string PredictorClaims() {
  // Rows of the widest allowed width and most colours, over a few bytes of data, ten times.
  std::string pdf = "%PDF-1.5\n";
  for (int number = 10; number < 20; ++number) {
    pdf += ObjectStream(number,
                        "/N 2 /First 8 /DecodeParms << /Predictor 12 /Columns 16777216 "
                        "/Colors 64 /BitsPerComponent 16 >>",
                        "1 0 2 0 <</A 1>>\n<</B 2>>");
  }
  return pdf + "trailer\n<< /Size 20 /Root 1 0 R >>\n";
}

std::string CountClaims() {
  return "%PDF-1.5\n" +
         ObjectStream(10, "/N 2147483647 /First 1099511627776", "1 0 2 0 <</A 1>>") +
         ObjectStream(11, "/N 1000000000 /First 8", "1 0 2 0 <</A 1>>\n<</B 2>>") +
         "trailer\n<< /Size 12 >>\n";
}

std::string PackedBomb() {
  // Object streams whose data deflates a thousandfold: mostly white space, and objects that
  // are long strings of one byte.
  std::string pdf = "%PDF-1.5\n";
  const std::string object = "(" + std::string(4 << 20, 'x') + ")";
  const std::string header = "1 0 2 " + std::to_string(object.size() + 1) + " ";
  for (int number = 10; number < 16; ++number) {
    pdf += ObjectStream(number, "/N 2 /First " + std::to_string(header.size()),
                        header + object + " " + object + std::string(8 << 20, ' '));
  }
  return pdf + "trailer\n<< /Size 16 >>\n";
}

std::string ContentBomb() {
  // Page content that inflates to 64 MiB and then breaks off, so that it is decoded to be mended.
  std::string content = Deflated(Repeated("0 0 m 1 1 l S\n", (64 << 20) / 14));
  content.resize(content.size() - 16);
  return "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n"
         "2 0 obj\n<< /Type /Pages /Kids [3 0 R] /Count 1 >>\nendobj\n"
         "3 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 10 10] /Contents 4 0 R >>\nendobj\n"
         "4 0 obj\n<< /Filter /FlateDecode /Length " +
         std::to_string(content.size()) + " >>\nstream\n" + content +
         "\nendstream\nendobj\ntrailer\n<< /Size 5 /Root 1 0 R >>\n";
}

std::string NestedArrays() {
  return "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /A " + std::string(1 << 20, '[') +
         "\nendobj\ntrailer\n<< /Root 1 0 R /Size " + std::string(1 << 20, '[') + "\n";
}

std::string KidsOfR() {
  return "%PDF-1.4\n1 0 obj\n<< /Type /Pages /Kids [" + std::string(4 << 20, 'R');
}

std::string KidsUnterminated() {
  return "%PDF-1.4\n1 0 obj\n<< /Type /Pages /Kids [" + Repeated(" 1 0 R", 1 << 20);
}

std::string KidsOfOneOpenObject() {
  // Half a million Kids arrays in one object that names no type and never ends: whether its
  // Kids make it a page-tree node must not send each keyword to the end of the file.
  return "%PDF-1.4\n1 0 obj\n<< /Type /Outlines" + Repeated(" /Kids [2 0 R]", 1 << 19);
}

std::string Trailers() { return "%PDF-1.4\n" + Repeated("trailer", 1 << 20); }

std::string TrailerParentheses() {
  return "%PDF-1.4\ntrailer\n<< /Root 1 0 R /ID " + std::string(4 << 20, '(') + "\n";
}

std::string LostReferences() {
  // Objects just within mending's reach, made of references to objects that do not exist and
  // of dictionaries nested past any reader's depth: every one of them is mended.
  std::string pdf = "%PDF-1.4\n";
  for (int number = 1; number <= 6; ++number) {
    pdf += std::to_string(number) + " 0 obj\n[" + Repeated(" 7999999 0 R", 80000) + "]\nendobj\n";
  }
  return pdf + "7 0 obj\n" + Repeated("<< /A ", 1 << 17) + "\nendobj\n";
}

std::string HighestNumber() {
  return "%PDF-1.4\n8388607 0 obj\n<< /Type /Catalog >>\nendobj\n"
         "1 0 obj\n<< /Type /Page /Contents 8388606 0 R >>\nendobj\n"
         "trailer\n<< /Root 8388607 0 R /Size 8388608 >>\n";
}

}  // namespace

std::vector<HostileFile> HostileFiles() {
  return {
      {"predictor_claims.pdf", PredictorClaims},
      {"count_claims.pdf", CountClaims},
      {"packed_bomb.pdf", PackedBomb},
      {"content_bomb.pdf", ContentBomb},
      {"nested_arrays.pdf", NestedArrays},
      {"kids_of_r.pdf", KidsOfR},
      {"kids_unterminated.pdf", KidsUnterminated},
      {"kids_of_one_open_object.pdf", KidsOfOneOpenObject},
      {"trailers.pdf", Trailers},
      {"trailer_parentheses.pdf", TrailerParentheses},
      {"highest_number.pdf", HighestNumber},
      {"lost_references.pdf", LostReferences},
  };
}

}  // namespace tarnwick::test
