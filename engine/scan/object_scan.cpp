// Step 1: the whole source read once, front to back, with a handful of keywords recognised
// wherever they stand. The source is read in blocks and progress is reported every 512 bytes;
// a keyword's rule runs before the report of the 512 bytes that hold its first byte, and reads
// the source itself, so a keyword across any border is found like any other.
#include "object_scan.h"

#include <algorithm>
#include <vector>

#include "byte_classes.h"
#include "keyword_candidates.h"
#include "object_header.h"

namespace tarnwick {

namespace {

constexpr std::int64_t kProgressChunk = 512;

int ScanProgress(std::int64_t done, std::int64_t length) {
  const auto percent = static_cast<std::uint64_t>(done) * 100 / static_cast<std::uint64_t>(length);
  if (percent < 1) return 1;
  if (percent > 96) return 100;
  return static_cast<int>(percent);
}

}  // namespace

bool ObjectScan::IsPageKeyword(SourceReader& reader, std::int64_t at) {
  // "/Page" names a page only when the name ends there: /Pages, /PageMode, /PageLabels do not.
  const int after = reader.ByteAt(at + 5);
  return reader.Matches(at, "/Page") && (IsPdfSpace(after) || IsDelimiter(after));
}

bool ObjectScan::ScanObjects() {
  results_ = ScanResults{};
  const std::int64_t length = source_.Length();
  results_.sourceLength = static_cast<std::uint64_t>(length);
  const bool shown = security_ == nullptr;
  if (!(shown ? progress_.StartStep(1) : progress_.SafePoint())) return false;

  // The bytes are searched where they lie in the reader's cache, one cached block at a time;
  // progress is reported for every 512 bytes from offset 8, once all keywords that start in
  // them have been handled, wherever the blocks end.
  std::int64_t reported = kScanStart;
  std::int64_t nextReport = std::min(kScanStart + kProgressChunk, length);
  auto reportUpTo = [&](std::int64_t position) {
    for (; nextReport <= position && nextReport > reported;
         nextReport = std::min(nextReport + kProgressChunk, length)) {
      const int reportedPosition = ScanProgress(nextReport, length);
      if (!(shown ? progress_.Report(reportedPosition) : progress_.SafePoint())) return false;
      reported = nextReport;
    }
    return true;
  };
  std::vector<std::uint32_t> candidates;
  for (std::int64_t start = kScanStart; start < length;) {
    const auto size = source_.View(start, static_cast<std::size_t>(length - start)).size();
    if (source_.Failed() || size == 0) return false;
    const std::int64_t end = start + static_cast<std::int64_t>(size);
    // The pair test at the block's last byte needs the first byte of the next block, which is
    // read before the view that the search goes through.
    const int next = source_.ByteAt(end);
    candidates.clear();
    FindKeywordCandidates(source_.View(start, size), next, candidates);
    for (const std::uint32_t candidate : candidates) {
      const std::int64_t at = start + candidate;
      if (!reportUpTo(at)) return false;
      // The rules read elsewhere meanwhile, so the cache's bytes are asked for again.
      KeywordRule(at, source_.ByteAt(at));
    }
    if (!reportUpTo(end)) return false;
    start = end;
  }
  if (source_.Failed()) return false;
  // A file cut inside its last object, or one that never closed it, still gives that object.
  CloseOpenObject(sourceText_, length);
  return !source_.Failed();
}

void ObjectScan::KeywordRule(std::int64_t at, int first) {
  ScanText& text = sourceText_;
  switch (first) {
    case '/':
      if (IsPageKeyword(source_, at)) RecordPage(text, at);
      break;
    case 'C':
      if (source_.Matches(at, "Catalog")) RecordCatalog(text, at);
      break;
    case 'o':
      if (source_.Matches(at, "obj")) RecordObjectKeyword(text, at);
      break;
    case '<':
      if (source_.Matches(at, "<</DecodeParms")) results_.decodeParmsSeen = true;
      break;
    case 't':
      if (source_.Matches(at, "trailer")) RecordTrailer(text, at);
      break;
    case 'K':
      if (source_.Matches(at, "Kids")) RecordKids(text, at);
      break;
    case 'j':
      // Only marks the object as one to look into when it closes.
      if (source_.Matches(at - 2, "ObjStm")) streamTypeKeyword_ = at;
      break;
    case 'X':
      if (source_.Matches(at, "XRef")) streamTypeKeyword_ = at;
      break;
    default:
      break;
  }
}

void ObjectScan::RecordObjectKeyword(ScanText& text, std::int64_t objKeyword) {
  if (const std::optional<ObjectHeader> header = HeaderEndingAt(text.reader, objKeyword)) {
    // A header before the open object's "endobj" means that "endobj" was lost: the open object
    // ends where the new header begins, so damage to one line costs no object.
    CloseOpenObject(text, header->start);
    text.objectOpen = true;
    text.pending = *header;
  } else if (text.reader.Matches(objKeyword - 3, "end")) {
    CloseOpenObject(text, objKeyword - 3);
  }
}

void ObjectScan::CloseOpenObject(ScanText& text, std::int64_t end) {
  if (!text.objectOpen) return;
  text.objectOpen = false;
  RecordObject({text.pending.number, static_cast<std::uint64_t>(text.pending.start),
                static_cast<std::uint64_t>(end), RecordOrigin::kSource, text.pending.generation});
}

void ObjectScan::RecordObject(const ObjectRecord& record) {
  // Only objects that name a stream type are read as PDF syntax; every other object is taken
  // by its keywords alone.
  const bool namesStreamType = streamTypeKeyword_ >= static_cast<std::int64_t>(record.start);
  if (namesStreamType && ExamineStreamObject(record)) return;
  results_.objects.push_back(record);
}

void ObjectScan::RecordPage(ScanText& text, std::int64_t pageKeyword) {
  SourceReader& reader = text.reader;
  // "Type" may stand with up to two blanks before "/Page"; otherwise the slash test below runs
  // on the bytes where a three- or four-blank "/Type" would have its slash.
  std::int64_t type = pageKeyword - 7;
  for (std::int64_t back = 4; back <= 6; ++back) {
    if (reader.Matches(pageKeyword - back, "Type")) {
      type = pageKeyword - back;
      break;
    }
  }
  if (type - 2 < 0 || (reader.ByteAt(type - 2) != '/' && reader.ByteAt(type - 1) != '/')) {
    return;
  }
  const std::int64_t dictionary = text.pageDictionaryStart.Find(
      type, [&reader](std::int64_t at) { return reader.Matches(at, "<<"); });
  if (dictionary == BackwardSearch::kNone) return;
  // The nearest header before the dictionary, however far back: the page's own object.
  const std::int64_t header = text.pageHeader.Find(
      dictionary, [&reader](std::int64_t at) { return HeaderEndsAt(reader, at + 3); });
  if (header == BackwardSearch::kNone) return;
  results_.pages.push_back(HeaderEndingAt(reader, header + 3)->number);
}

void ObjectScan::RecordCatalog(ScanText& text, std::int64_t catalogKeyword) {
  SourceReader& reader = text.reader;
  if (!reader.Matches(catalogKeyword, "Catalog")) return;
  // Unlike a page, a catalog is looked for only close to its keyword.
  constexpr std::int64_t kDictionaryReach = 21;
  constexpr std::int64_t kHeaderReach = 11;
  std::int64_t dictionary = BackwardSearch::kNone;
  for (std::int64_t back = 1; back <= kDictionaryReach; ++back) {
    if (reader.Matches(catalogKeyword - back, "<<")) {
      dictionary = catalogKeyword - back;
      break;
    }
  }
  if (dictionary == BackwardSearch::kNone) return;
  for (std::int64_t back = 0; back < kHeaderReach; ++back) {
    if (HeaderEndsAt(reader, dictionary - back + 3)) {
      results_.catalogNumber = HeaderEndingAt(reader, dictionary - back + 3)->number;
      return;
    }
  }
}

}  // namespace tarnwick
