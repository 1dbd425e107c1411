// The rules of the scan that capture what the rebuild needs besides the objects: the trailer
// entries, the Kids arrays of the old page tree and the decode-parameter runs.
#include <algorithm>

#include "object_numbers.h"
#include "scan_searches.h"

namespace tarnwick {

void PDF_Repair::RecordTrailer(std::int64_t trailerKeyword) {
  const TrailerWalk::Outcome found = searches_->trailerWalk.Walk(trailerKeyword);
  TrailerRecord record{static_cast<std::uint64_t>(trailerKeyword), 0, 0, 0};
  if (found.size.state >= 0) record.size = found.size.value;
  if (found.root.state >= 0 && IsListableNumber(found.root.value)) record.root = found.root.value;
  // The encryption number outlives its trailer: a later trailer without /Encrypt keeps it.
  if (found.encrypt.state >= 0) {
    results_.encryptionSeen = true;
    results_.encryptionNumber = found.encrypt.value;
  }
  record.encrypt = results_.encryptionNumber;
  if (found.id.state >= 0) {
    results_.identifierSeen = true;
    results_.identifierKeyEnd = found.id.idKeyEnd;
  }
  results_.trailers.push_back(record);
  results_.trailerIncomplete = record.size == 0 || record.root == 0;
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
  if (scan.kidsWalkStart >= 0 && scan.kidsWalkStart <= arrayStart &&
      arrayStart <= scan.kidsWalkEnd) {
    // This keyword stands inside the array walked last, which was not closed before it: its
    // array is the rest of that one.
    first = static_cast<std::size_t>(
        std::lower_bound(references.begin() + static_cast<std::ptrdiff_t>(scan.kidsWalkFirst),
                         references.end(), arrayStart,
                         [](const KidsReference& r, std::int64_t at) { return r.position < at; }) -
        references.begin());
  } else {
    scan.kidsWalkStart = arrayStart;
    scan.kidsWalkFirst = first;
    scan.kidsWalkEnd = KidsArrayWalk(arrayStart);
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
