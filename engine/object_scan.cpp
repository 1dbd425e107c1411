// Step 1: the whole source read once in 512-byte chunks, with a handful of keywords recognised
// byte by byte. A keyword test sees only its own chunk; three boundary rules catch the keywords
// that straddle a chunk border.
#include "object_scan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "byte_classes.h"
#include "source_numbers.h"

namespace tarnwick {

namespace {

constexpr std::int64_t kChunkSize = 512;
constexpr std::int64_t kScanStart = 8;  // the source's own header is never scanned

// The first two bytes of the scan's keywords: "/Page", "Catalog", "obj", "<</DecodeParms",
// "trailer", "Kids", and the stream types "ObjStm" (by its "jS") and "XRef". No two share a
// first byte.
constexpr std::string_view kKeywordFirsts = "/Co<tKjX";
constexpr std::string_view kKeywordSeconds = "Pab<riSR";

// For each byte, the byte that must follow it for a keyword to start there (0 for none).
constexpr std::array<std::uint8_t, 256> kSecondAfter = [] {
  std::array<std::uint8_t, 256> second{};
  for (std::size_t k = 0; k < kKeywordFirsts.size(); ++k) {
    second[static_cast<unsigned char>(kKeywordFirsts[k])] =
        static_cast<std::uint8_t>(kKeywordSeconds[k]);
  }
  return second;
}();

// Sixteen positions, and the byte after them, are tested at once, so a chunk is read with that
// many bytes after it: the source's own, or zeros where a block or the file ends. Tests of those
// bytes only pick candidates; every keyword rule still looks at the chunk alone.
constexpr std::size_t kBlockTest = 16;

using Lanes = std::uint8_t __attribute__((vector_size(kBlockTest)));

// True when a keyword may start at one of the sixteen positions from `at`: a byte pair of one
// of the keywords stands there. Most of a file has none, and is passed over sixteen bytes at once.
bool MayHoldKeyword(const std::uint8_t* at) {
  Lanes first;
  Lanes second;
  std::memcpy(&first, at, sizeof first);
  std::memcpy(&second, at + 1, sizeof second);
  Lanes hits{};
  for (std::size_t k = 0; k < kKeywordFirsts.size(); ++k) {
    hits |= reinterpret_cast<Lanes>((first == static_cast<std::uint8_t>(kKeywordFirsts[k])) &
                                    (second == static_cast<std::uint8_t>(kKeywordSeconds[k])));
  }
  std::uint64_t halves[2];
  std::memcpy(halves, &hits, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}

int ScanProgress(std::int64_t done, std::int64_t length) {
  const auto percent = static_cast<std::uint64_t>(done) * 100 / static_cast<std::uint64_t>(length);
  if (percent < 1) return 1;
  if (percent > 96) return 100;
  return static_cast<int>(percent);
}

}  // namespace

std::int32_t ScanText::ParseRun(std::int64_t first, std::int64_t last) {
  return ParseSourceRun(reader, first, last);
}

std::int64_t ScanText::LineStartAtOrBefore(std::int64_t from, BackwardSearch& lineSearch) {
  const std::int64_t lineEnd =
      lineSearch.Find(from, [this](std::int64_t at) { return IsLineEnd(reader.ByteAt(at)); });
  // The walk gives up at the start of the file, so the line then starts at offset 1.
  return lineEnd <= 0 ? 1 : lineEnd + 1;
}

std::int32_t ScanText::NumberOnLineBefore(std::int64_t end, BackwardSearch& lineSearch) {
  return ParseRun(LineStartAtOrBefore(end - 1, lineSearch), end - 1);
}

std::int64_t ObjectScan::Chunk::FindAmongFirst(std::int64_t span, std::uint8_t byte,
                                               bool last) const {
  std::int64_t found = -1;
  for (std::int64_t i = 0; i < std::min(span, size) && (last || found < 0); ++i) {
    if (bytes[i] == byte) found = i;
  }
  return found;
}

bool ObjectScan::ScanObjects() {
  results_ = ScanResults{};
  const std::int64_t length = source_.Length();
  results_.sourceLength = static_cast<std::uint64_t>(length);
  if (!progress_.StartStep(1)) return false;

  bool pageEndArmed = true;
  bool catalogEndArmed = true;
  std::uint8_t copy[kChunkSize + kBlockTest + 1];
  for (std::int64_t chunkStart = kScanStart; chunkStart < length;) {
    const std::int64_t size = std::min(kChunkSize, length - chunkStart);
    // The chunk is read where it lies in the reader's block when the bytes after it are there
    // too; near a block's end or the file's it is copied, with zeros after it.
    const std::uint8_t* bytes = copy;
    const auto span = static_cast<std::size_t>(size) + kBlockTest + 1;
    const std::span<const std::uint8_t> direct = source_.View(chunkStart, span);
    if (direct.size() == span) {
      bytes = direct.data();
      source_.Pin(chunkStart);  // the rules read elsewhere in the file meanwhile
    } else {
      source_.Read(chunkStart, static_cast<std::size_t>(size), copy);
      std::memset(copy + size, 0, sizeof copy - static_cast<std::size_t>(size));
    }
    if (source_.Failed()) return false;
    const Chunk chunk{bytes, size, chunkStart};

    // The first step of a chunk runs the boundary rules, which look only at the chunk's first
    // bytes. Each may move the scan position; the rules after it test the moved position, and
    // the positions skipped are not tested at all. At one position only one keyword can start,
    // so each keyword rule is asked only where its own first byte stands.
    std::int64_t i = 0;
    if (pageEndArmed) i += PageEndRule(chunk, pageEndArmed);
    if (chunk.At(i) == '/') KeywordRule(chunk, i);
    if (catalogEndArmed) i += CatalogEndRule(chunk, catalogEndArmed);
    if (chunk.At(i) == 'C') KeywordRule(chunk, i);
    i += ObjectEndRule(chunk);
    bool goOn = chunk.At(i) == '/' || chunk.At(i) == 'C' || KeywordRule(chunk, i);
    for (++i; goOn && i < chunk.size;) {
      if (!MayHoldKeyword(bytes + i)) {
        i += kBlockTest;
        continue;
      }
      for (const std::int64_t end = i + kBlockTest; goOn && i < end && i < chunk.size; ++i) {
        if (kSecondAfter[bytes[i]] != 0 && bytes[i + 1] == kSecondAfter[bytes[i]]) {
          goOn = KeywordRule(chunk, i);
        }
      }
    }
    // A Kids keyword with no object before it ends the scan; the bar stays where it was.
    if (!goOn) return !source_.Failed();
    chunkStart += chunk.size;
    if (!progress_.Report(ScanProgress(chunkStart, length))) return false;
  }
  return true;
}

bool ObjectScan::KeywordRule(const Chunk& chunk, std::int64_t i) {
  const std::int64_t at = chunk.start + i;
  switch (chunk.At(i)) {
    case '/':
      // "/Pages" is not a page; the byte after the keyword must be in the chunk to tell.
      if (chunk.Has(i, "/Page") && i + 5 < chunk.size && chunk.bytes[i + 5] != 's') {
        RecordPage(sourceText_, at);
      }
      return true;
    case 'C':
      if (chunk.Has(i, "Catalog")) RecordCatalog(sourceText_, at);
      return true;
    case 'o':
      if (chunk.Has(i, "obj")) RecordObjectKeyword(sourceText_, at);
      return true;
    case '<':
      if (chunk.Has(i, "<</DecodeParms")) results_.decodeParmsSeen = true;
      return true;
    case 't':
      if (chunk.Has(i, "trailer")) RecordTrailer(sourceText_, at);
      return true;
    case 'K':
      return !chunk.Has(i, "Kids") || RecordKids(sourceText_, at);
    case 'j':
      // Only marks the object as one to look into when it closes; read from the source, so
      // that a type name across a chunk border counts too.
      if (source_.Matches(at - 2, "ObjStm")) streamTypeKeyword_ = at;
      return true;
    case 'X':
      if (source_.Matches(at, "XRef")) streamTypeKeyword_ = at;
      return true;
    default:
      return true;
  }
}

std::int64_t ObjectScan::PageEndRule(const Chunk& chunk, bool& armed) {
  const std::int64_t last = chunk.FindAmongFirst(4, 'e', true);
  if (last < 0) return 0;
  armed = false;
  std::int64_t move = 0;
  for (std::int64_t k = 1; k < std::min<std::int64_t>(4, chunk.size); ++k) {
    if (chunk.bytes[k] == 'e') move += k;
  }
  const std::int64_t e = chunk.start + last;
  if (source_.ByteAt(e + 1) != 's' && source_.Matches(e - 4, "/Page")) {
    RecordPage(sourceText_, e - 4);
  }
  return move;
}

std::int64_t ObjectScan::CatalogEndRule(const Chunk& chunk, bool& armed) {
  const std::int64_t k = chunk.FindAmongFirst(6, 'g', false);
  if (k < 0) return 0;
  armed = false;
  if (source_.Matches(chunk.start + k - 6, "Catalog")) {
    RecordCatalog(sourceText_, chunk.start + k - 6);
  }
  return k;
}

std::int64_t ObjectScan::ObjectEndRule(const Chunk& chunk) {
  const std::int64_t k = chunk.FindAmongFirst(3, 'j', false);
  if (k < 0) return 0;
  if (source_.Matches(chunk.start + k - 2, "ob")) {
    RecordObjectKeyword(sourceText_, chunk.start + k - 2);
  }
  return k;
}

void ObjectScan::RecordObjectKeyword(ScanText& text, std::int64_t objKeyword) {
  if (text.reader.Matches(objKeyword - 3, " 0 ")) {
    // A second header before an "endobj" replaces the pending object.
    text.objectOpen = true;
    const std::int64_t lineStart = text.LineStartAtOrBefore(objKeyword - 3, text.objectLineStart);
    text.pendingNumber = text.ParseRun(lineStart, objKeyword - 4);
    text.pendingStart = lineStart;
  } else if (text.objectOpen && text.reader.Matches(objKeyword - 3, "end")) {
    text.objectOpen = false;
    RecordObject({text.pendingNumber, static_cast<std::uint64_t>(text.pendingStart),
                  static_cast<std::uint64_t>(objKeyword - 3)});
  }
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
  const std::int64_t header = text.pageHeader.Find(
      dictionary, [&reader](std::int64_t at) { return reader.Matches(at, " 0 obj"); });
  if (header == BackwardSearch::kNone) return;
  results_.pages.push_back(text.NumberOnLineBefore(header, text.pageLineStart));
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
    if (reader.Matches(dictionary - back, " 0 obj")) {
      results_.catalogNumber = text.NumberOnLineBefore(dictionary - back, text.catalogLineStart);
      return;
    }
  }
}

}  // namespace tarnwick
