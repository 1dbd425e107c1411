#include "damages.h"

#include <cstdint>
#include <algorithm>
#include <map>
#include <regex>

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

// Where the data of the last version of stream object `number` lies, and its dictionary.
struct StreamPlace {
  std::size_t header = 0;
  std::size_t data = 0;
  std::size_t end = 0;  // before the end of line that precedes "endstream"
};

StreamPlace PlaceOfStream(const std::string& pdf, int number) {
  const std::size_t objectEnd = LastObjectEnd(pdf, number, pdf.size());
  StreamPlace place;
  place.header = pdf.rfind(std::to_string(number) + " 0 obj", objectEnd);
  place.data = pdf.find("stream", place.header) + 6;
  if (pdf[place.data] == '\r') ++place.data;
  if (pdf[place.data] == '\n') ++place.data;
  place.end = pdf.rfind("endstream", objectEnd);
  if (pdf[place.end - 1] == '\n') --place.end;
  if (pdf[place.end - 1] == '\r') --place.end;
  return place;
}

// An LZW encoder of the PDF kind, to make streams that qpdf and the other tools here no longer
// write: a clear code first, codes growing from 9 to 12 bits one code early, a clear code when
// the table is full, the end-of-data code last.
std::string LzwEncoded(const std::string& data) {
  std::map<std::string, int> table;
  int next = 0;
  int width = 9;
  auto reset = [&] {
    table.clear();
    for (int i = 0; i < 256; ++i) table[std::string(1, static_cast<char>(i))] = i;
    next = 258;
    width = 9;
  };
  std::string out;
  std::uint32_t pending = 0;
  int bits = 0;
  auto put = [&](int code) {
    pending = (pending << width) | static_cast<std::uint32_t>(code);
    bits += width;
    while (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((pending >> bits) & 0xFF);
    }
  };
  reset();
  put(256);
  std::string current;
  for (const char c : data) {
    if (table.contains(current + c)) {
      current += c;
      continue;
    }
    put(table[current]);
    table[current + c] = next++;
    if (next + 1 > (1 << width) && width < 12) ++width;
    if (next >= 4094) {
      put(256);
      reset();
    }
    current = std::string(1, c);
  }
  if (!current.empty()) put(table[current]);
  put(257);
  if (bits > 0) out += static_cast<char>((pending << (8 - bits)) & 0xFF);
  return out;
}

}  // namespace

std::string WithLzwContent(const std::string& pdf, int number) {
  const StreamPlace place = PlaceOfStream(pdf, number);
  const std::string encoded = LzwEncoded(pdf.substr(place.data, place.end - place.data));
  const std::size_t body = pdf.find("obj", place.header) + 3;
  return pdf.substr(0, body) + "\n<< /Length " + std::to_string(encoded.size()) +
         " /Filter /LZWDecode >>\nstream\n" + encoded + "\nendstream\n" +
         pdf.substr(pdf.find("endobj", place.end));
}

std::string MisstatedLength(const std::string& pdf, int number, long delta) {
  const StreamPlace place = PlaceOfStream(pdf, number);
  const auto key = pdf.find("/Length", place.header) + 7;
  auto valueEnd = pdf.find_first_of("/>", key);
  // A reference "12 0 R" ends with its R; the key's value is all of it.
  const auto text = pdf.substr(key, valueEnd - key);
  const auto length = static_cast<long>(place.end - place.data) + delta;
  return pdf.substr(0, key) + " " + std::to_string(length) + (text.back() == ' ' ? " " : "") +
         pdf.substr(valueEnd);
}

std::string FlippedStreamData(const std::string& pdf, int number) {
  const StreamPlace place = PlaceOfStream(pdf, number);
  std::string damaged = pdf;
  const std::size_t from = place.data + (place.end - place.data) * 3 / 4;
  for (std::size_t at = from; at < from + 4 && at < place.end; ++at) {
    damaged[at] = static_cast<char>(~damaged[at]);
  }
  return damaged;
}

std::string CutStreamData(const std::string& pdf, int number) {
  const StreamPlace place = PlaceOfStream(pdf, number);
  return pdf.substr(0, place.data + (place.end - place.data) / 2) + pdf.substr(place.end);
}

std::string InvertedStreamStart(const std::string& pdf, int number) {
  const StreamPlace place = PlaceOfStream(pdf, number);
  std::string damaged = pdf;
  for (std::size_t at = place.data; at < place.data + 16 && at < place.end; ++at) {
    damaged[at] = static_cast<char>(~damaged[at]);
  }
  return damaged;
}

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

std::string ZeroedXrefSections(const std::string& pdf) {
  std::string damaged = pdf;
  ForEachAtLineStart(pdf, "xref", [&](std::size_t start) {
    const auto end = std::min(pdf.find("trailer", start), pdf.size());
    std::fill(damaged.begin() + static_cast<std::ptrdiff_t>(start),
              damaged.begin() + static_cast<std::ptrdiff_t>(end), '\0');
  });
  return damaged;
}

std::string ZeroedTail(const std::string& pdf, std::size_t keep) {
  return pdf.substr(0, keep) + std::string(pdf.size() - keep, '\0');
}

std::string WithJunkAfterHeader(const std::string& pdf, std::size_t count) {
  const std::size_t lineEnd = pdf.find('\n') + 1;
  std::string junk;
  for (std::size_t i = 0; i < count; ++i) junk += static_cast<char>('A' + i % 26);
  return pdf.substr(0, lineEnd) + junk + "\n" + pdf.substr(lineEnd);
}

namespace {

// Blanks every "N 0 obj" .. "endobj" whose number and text `blank` chooses.
template <typename Choose>
std::string WithoutObjectsWhere(const std::string& pdf, Choose blank) {
  std::string damaged = pdf;
  static const std::regex header(R"((\d+) \d+ obj)");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), header); it != std::sregex_iterator();
       ++it) {
    const auto start = static_cast<std::size_t>(it->position());
    if (!AtLineStart(pdf, start)) continue;
    const std::size_t end = std::min(pdf.find("endobj", start), pdf.size());
    if (!blank(std::stoi((*it)[1]), pdf.substr(start, end - start))) continue;
    for (auto at = start; at < end + 6 && at < pdf.size(); ++at) {
      if (pdf[at] != '\r' && pdf[at] != '\n') damaged[at] = ' ';
    }
  }
  return damaged;
}

}  // namespace

std::string WithoutObjectsHolding(const std::string& pdf, const std::string& marker) {
  return WithoutObjectsWhere(
      pdf, [&](int, const std::string& text) { return text.find(marker) != std::string::npos; });
}

std::string WithoutObject(const std::string& pdf, int number) {
  return WithoutObjectsWhere(pdf, [&](int found, const std::string&) { return found == number; });
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

std::string WithoutEndobjLines(const std::string& pdf) {
  std::string damaged;
  std::size_t copied = 0;
  ForEachAtLineStart(pdf, "endobj", [&](std::size_t at) {
    std::size_t end = at + 6;
    if (end < pdf.size() && pdf[end] == '\r') ++end;
    if (end < pdf.size() && pdf[end] == '\n') ++end;
    if (end == at + 6 && end < pdf.size()) return;  // more follows on the line
    damaged += pdf.substr(copied, at - copied);
    copied = end;
  });
  return damaged + pdf.substr(copied);
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
