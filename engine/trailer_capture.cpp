// The rules of the scan that capture what the rebuild needs besides the objects: the trailer
// entries, the Kids arrays of the old page tree and the decode-parameter runs.
#include <algorithm>
#include <cstring>

#include "object_numbers.h"
#include "scan_searches.h"

namespace tarnwick {

namespace {

// A value run of the trailer is read up to here; the number parser looks no further anyway.
constexpr std::int64_t kValueReach = 1024;

// The five bytes the trailer rule looks at. Values read for /Size and /Root overwrite its start,
// which the key tests after them in the same step then see.
struct TrailerWindow {
  std::uint8_t bytes[5] = {};
  std::size_t valid = 0;

  bool StartsWith(std::string_view word) const {
    return word.size() <= valid && std::memcmp(bytes, word.data(), word.size()) == 0;
  }
  bool Is(std::size_t index, std::uint8_t byte) const { return index < valid && bytes[index] == byte; }
  void Overwrite(const std::uint8_t* run, std::size_t count) {
    const std::size_t n = std::min<std::size_t>(count, sizeof bytes);
    std::memcpy(bytes, run, n);
    valid = std::max(valid, n);
  }
};

}  // namespace

void PDF_Repair::RecordTrailer(std::int64_t trailerKeyword) {
  const std::int64_t length = source_->Length();
  TrailerRecord record{static_cast<std::uint64_t>(trailerKeyword), 0, 0, 0};
  std::int32_t size = 0;
  std::int32_t root = 0;
  std::uint8_t run[kValueReach];

  std::int64_t w = trailerKeyword;
  TrailerWindow window;
  auto readWindow = [&] { window.valid = source_->Read(w, sizeof window.bytes, window.bytes); };
  // Length of the run at `from` that ends before the first byte failing `keep`, capped.
  auto runLength = [&](std::int64_t from, auto keep) {
    std::int64_t at = from;
    while (at < length && at - from < kValueReach && keep(source_->ByteAt(at))) ++at;
    return static_cast<std::size_t>(at - from);
  };
  auto isDigit = [](int c) { return c >= '0' && c <= '9'; };
  auto beforeSpaceOrCr = [](int c) { return c != ' ' && c != '\r'; };

  readWindow();
  for (;;) {
    // Nested dictionaries and strings are stepped over, so that a '>' inside them (the end of a
    // hexadecimal /ID, say) does not hide the keys after them.
    for (;;) {
      if (window.StartsWith("<<")) {
        w += 2;
      } else if (window.StartsWith("<")) {
        w = SkipHexString(w);
      } else if (window.StartsWith("(")) {
        w = SkipLiteralString(w);
      } else {
        break;
      }
      w = std::min(w, length);
      readWindow();
    }
    if (window.Is(0, '>') || window.Is(1, '>') || w >= length) break;

    if (window.StartsWith("Size")) {
      const std::size_t n = source_->Read(w + 5, runLength(w + 5, isDigit), run);
      window.Overwrite(run, n);
      size = ParseDecimal(run, n);
      w += 5;
    }
    if (window.StartsWith("Root")) {
      const std::size_t n = source_->Read(w + 5, runLength(w + 5, beforeSpaceOrCr), run);
      window.Overwrite(run, n);
      root = ParseDecimal(run, n);
      w += 5;
    }
    if (window.StartsWith("Encry")) {
      results_.encryptionSeen = true;
      const std::size_t n = source_->Read(w + 8, runLength(w + 8, beforeSpaceOrCr), run);
      results_.encryptionNumber = ParseDecimal(run, n);
      w += 8;
    }
    if (window.StartsWith("ID")) {
      results_.identifierSeen = true;
      results_.identifierKeyEnd = w + 2;
      w += window.Is(2, ' ') ? 3 : 2;
    }
    record.size = size;
    record.root = IsListableNumber(root) ? root : 0;
    record.encrypt = results_.encryptionNumber;
    ++w;
    readWindow();
  }
  results_.trailers.push_back(record);
  results_.trailerIncomplete = record.size == 0 || record.root == 0;
}

std::int64_t PDF_Repair::SkipHexString(std::int64_t open) {
  const std::int64_t length = source_->Length();
  std::int64_t at = open + 1;
  while (at < length && source_->ByteAt(at) != '>') ++at;
  return at + 1;
}

std::int64_t PDF_Repair::SkipLiteralString(std::int64_t open) {
  const std::int64_t length = source_->Length();
  int depth = 0;
  for (std::int64_t at = open; at < length; ++at) {
    const int c = source_->ByteAt(at);
    if (c == '\\') {
      ++at;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return at + 1;
    }
  }
  return length;
}

bool PDF_Repair::RecordKids(std::int64_t kidsKeyword) {
  ScanSearches& scan = *searches_;
  const std::int64_t holder = scan.kidsHolder.Find(kidsKeyword, [this](std::int64_t at) {
    return source_->Matches(at, " 0 obj") || source_->Matches(at, "endobj");
  });
  if (holder == BackwardSearch::kNone) return false;
  if (source_->Matches(holder, " 0 obj")) {
    results_.oldPagesNumber = NumberOnLineBefore(holder, scan.kidsLineStart);
  }

  const std::int64_t arrayStart = kidsKeyword + 4;
  if (arrayStart >= source_->Length()) return true;
  auto& references = results_.kidsReferences;
  std::size_t first = references.size();
  if (kidsWalkStart_ >= 0 && kidsWalkStart_ <= arrayStart && arrayStart <= kidsWalkEnd_) {
    // This keyword stands inside the array walked last, which was not closed before it: its
    // array is the rest of that one.
    first = static_cast<std::size_t>(
        std::lower_bound(references.begin() + static_cast<std::ptrdiff_t>(kidsWalkFirst_),
                         references.end(), arrayStart,
                         [](const KidsReference& r, std::int64_t at) { return r.position < at; }) -
        references.begin());
  } else {
    kidsWalkStart_ = arrayStart;
    kidsWalkFirst_ = first;
    kidsWalkEnd_ = KidsArrayWalk(arrayStart);
  }
  if (first < references.size()) results_.kidsArrays.push_back({first, references.size() - first});
  return true;
}

std::int64_t PDF_Repair::KidsArrayWalk(std::int64_t from) {
  const std::int64_t length = source_->Length();
  std::int64_t y = from;
  int c = source_->ByteAt(y);
  for (;;) {
    if (c == ']') return y;
    if (y >= length) return length;
    while (c != 'R' && y < length) {
      if (c == ']' || c == '>') return y;
      c = source_->ByteAt(++y);
    }
    // At an 'R', or at the end of the file, which counts as one. The number is the run that
    // ends four bytes before it, as in "12 0 R".
    const std::int64_t numberEnd = y - 4;
    const std::int64_t separator =
        searches_->kidsNumberStart.Find(numberEnd, [this](std::int64_t at) {
          const int b = source_->ByteAt(at);
          return b == '\n' || b == ' ' || b == '[';
        });
    const std::int64_t numberStart = separator <= 0 ? 1 : separator + 1;
    results_.kidsReferences.push_back({y, ParseSourceRun(numberStart, numberEnd)});
    c = source_->ByteAt(++y);
  }
}

}  // namespace tarnwick
