// The rules of the scan that capture what the rebuild needs besides the objects: the trailer
// entries, the Kids arrays of the old page tree and the decode-parameter runs.
#include <algorithm>

#include "byte_classes.h"
#include "object_header.h"
#include "object_numbers.h"
#include "object_scan.h"
#include "source_numbers.h"

namespace tarnwick {

namespace {

// Whether the bytes from `from` up to the first "endobj" or object header, or the end of the
// text, hold the name /Type, white space or none, and the name /Pages: a page-tree node's mark.
bool NamesPagesType(SourceReader& reader, std::int64_t from) {
  const std::int64_t length = reader.Length();
  for (std::int64_t at = from; at < length; ++at) {
    switch (reader.ByteAt(at)) {
      case 'e':
        if (reader.Matches(at, "endobj")) return false;
        break;
      case 'o':
        if (HeaderEndsAt(reader, at)) return false;
        break;
      case '/':
        if (!reader.Matches(at, "/Type")) break;
        // The blanks are stepped over once; the byte after them is looked at again below.
        for (at += 5; IsPdfSpace(reader.ByteAt(at));) ++at;
        if (reader.Matches(at, "/Pages") && !IsRegular(reader.ByteAt(at + 6))) return true;
        --at;
        break;
      default:
        break;
    }
  }
  return false;
}

// Whether the Kids holder whose header's "obj" stands at `holder` + 3 is a page-tree node. All
// Kids keywords of one holder share its bytes, and different holders' bytes do not overlap, so
// asking once per holder reads the text at most once however many Kids it holds.
bool IsPageTreeNode(ScanText& text, std::int64_t holder) {
  if (holder != text.typedHolder) {
    text.typedHolder = holder;
    text.typedHolderIsNode = NamesPagesType(text.reader, holder + 6);
  }
  return text.typedHolderIsNode;
}

}  // namespace

void ObjectScan::RecordTrailer(ScanText& text, std::int64_t trailerKeyword) {
  const TrailerWalk::Outcome found = text.trailerWalk.Walk(trailerKeyword);
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
  results_.trailer = record;
  ++results_.trailersFound;
  results_.trailerIncomplete = record.size == 0 || record.root == 0;
}

void ObjectScan::RecordKids(ScanText& text, std::int64_t kidsKeyword) {
  SourceReader& reader = text.reader;
  text.kidsKeywords.push_back(text.kidsKeywordBase + kidsKeyword);
  // The object that holds the array: the nearest header before the keyword, unless an "endobj"
  // stands nearer. Only a page-tree node is the old Pages object: form fields, name trees and
  // outlines have Kids too, and one written after the tree would take the root's place and be
  // left out of the copy. Otherwise the array is still read; the old Pages number stays.
  const std::int64_t holder = text.kidsHolder.Find(kidsKeyword, [&reader](std::int64_t at) {
    return reader.Matches(at, "endobj") || HeaderEndsAt(reader, at + 3);
  });
  if (holder != BackwardSearch::kNone && !reader.Matches(holder, "endobj") &&
      IsPageTreeNode(text, holder)) {
    results_.oldPagesNumber = HeaderEndingAt(reader, holder + 3)->number;
  }

  const std::int64_t arrayStart = kidsKeyword + 4;
  if (arrayStart >= reader.Length()) return;
  auto& references = results_.kidsReferences;
  std::size_t first = references.size();
  if (text.kidsWalkStart >= 0 && text.kidsWalkStart <= arrayStart &&
      arrayStart <= text.kidsWalkEnd) {
    // This keyword stands inside the array walked last, which was not closed before it: its
    // array is the rest of that one.
    first = static_cast<std::size_t>(
        std::lower_bound(references.begin() + static_cast<std::ptrdiff_t>(text.kidsWalkFirst),
                         references.end(), arrayStart,
                         [](const KidsReference& r, std::int64_t at) { return r.position < at; }) -
        references.begin());
  } else {
    text.kidsWalkStart = arrayStart;
    text.kidsWalkFirst = first;
    text.kidsWalkEnd = KidsArrayWalk(text, arrayStart);
  }
  if (first < references.size()) results_.kidsArrays.push_back({first, references.size() - first});
}

std::int64_t ObjectScan::KidsArrayWalk(ScanText& text, std::int64_t from) {
  SourceReader& reader = text.reader;
  const std::int64_t length = reader.Length();
  std::int64_t y = from;
  int c = reader.ByteAt(y);
  for (;;) {
    if (c == ']') return y;
    if (y >= length) return length;
    while (c != 'R' && y < length) {
      if (c == ']' || c == '>') return y;
      c = reader.ByteAt(++y);
    }
    // At an 'R', or at the end of the file, which counts as one. The number is the run that
    // ends four bytes before it, as in "12 0 R".
    const std::int64_t numberEnd = y - 4;
    const std::int64_t separator = text.kidsNumberStart.Find(numberEnd, [&reader](std::int64_t at) {
      const int b = reader.ByteAt(at);
      return b == '\n' || b == ' ' || b == '[';
    });
    const std::int64_t numberStart = separator <= 0 ? 1 : separator + 1;
    // Only a number that can name an object is kept: an 'R' in any other run (a hostile array
    // may be nothing but 'R's) would cost a record and can never list a page.
    const std::int32_t number = ParseSourceRun(reader, numberStart, numberEnd);
    if (IsListableNumber(number)) results_.kidsReferences.push_back({y, number});
    c = reader.ByteAt(++y);
  }
}

}  // namespace tarnwick
