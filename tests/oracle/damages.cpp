#include "damages.h"

namespace tarnwick::oracle {

namespace {

bool AtLineStart(const std::string& pdf, std::size_t at) {
  return at == 0 || pdf[at - 1] == '\n' || pdf[at - 1] == '\r';
}

// Positions of `word` standing at a line start.
template <typename Visit>
void ForEachAtLineStart(const std::string& pdf, const std::string& word, Visit visit) {
  for (auto at = pdf.find(word); at != std::string::npos; at = pdf.find(word, at + 1)) {
    if (AtLineStart(pdf, at)) visit(at);
  }
}

}  // namespace

std::string CutTail(const std::string& pdf, std::size_t keep) { return pdf.substr(0, keep); }

std::string JunkXrefSections(const std::string& pdf) {
  std::string damaged = pdf;
  ForEachAtLineStart(pdf, "xref", [&](std::size_t start) {
    const auto end = pdf.find("trailer", start);
    for (auto at = start; at < std::min(end, pdf.size()); ++at) {
      if (pdf[at] != '\r' && pdf[at] != '\n') damaged[at] = '#';
    }
  });
  return damaged;
}

std::string LfToCrLf(const std::string& pdf) {
  std::string damaged;
  damaged.reserve(pdf.size() * 2);
  for (std::size_t at = 0; at < pdf.size(); ++at) {
    if (pdf[at] == '\n' && (at == 0 || pdf[at - 1] != '\r')) damaged += '\r';
    damaged += pdf[at];
  }
  return damaged;
}

std::string WithoutTrailers(const std::string& pdf) {
  std::string damaged;
  std::size_t copied = 0;
  for (auto at = pdf.find("trailer"); at != std::string::npos; at = pdf.find("trailer", at + 1)) {
    const auto end = pdf.find("startxref", at);
    if (end == std::string::npos) break;
    damaged += pdf.substr(copied, at - copied);
    copied = end;
    at = end;
  }
  return damaged + pdf.substr(copied);
}

std::string GarbledStartXref(const std::string& pdf) {
  std::string damaged = pdf;
  for (auto at = pdf.find("startxref"); at != std::string::npos;
       at = pdf.find("startxref", at + 1)) {
    auto digit = pdf.find_first_not_of(" \r\n", at + 9);
    for (; digit < pdf.size() && pdf[digit] >= '0' && pdf[digit] <= '9'; ++digit)
      damaged[digit] = '9';
  }
  return damaged;
}

std::size_t LastObjectEnd(const std::string& pdf, int number, std::size_t limit) {
  std::size_t lastEnd = 0;
  ForEachAtLineStart(pdf, std::to_string(number) + " 0 obj", [&](std::size_t header) {
    const auto end = pdf.find("endobj", header);
    if (end != std::string::npos && end + 6 <= limit) lastEnd = end + 6;
  });
  return lastEnd;
}

std::size_t LastXrefSection(const std::string& pdf) {
  std::size_t last = pdf.size();
  ForEachAtLineStart(pdf, "xref", [&](std::size_t at) { last = at; });
  return last;
}

}  // namespace tarnwick::oracle
