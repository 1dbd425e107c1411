// Step 1: the whole source read once in 512-byte chunks, with a handful of keywords recognised
// byte by byte. A keyword test sees only its own chunk; three boundary rules catch the keywords
// that straddle a chunk border.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "scan_searches.h"

namespace tarnwick {

namespace {

constexpr std::int64_t kChunkSize = 512;
constexpr std::int64_t kScanStart = 8;  // the source's own header is never scanned

bool IsLineEnd(int byte) { return byte == '\r' || byte == '\n'; }

// True when `word` lies wholly inside the chunk at `index`.
bool ChunkHas(const std::uint8_t* chunk, std::int64_t size, std::int64_t index,
              std::string_view word) {
  return index >= 0 && index + static_cast<std::int64_t>(word.size()) <= size &&
         std::memcmp(chunk + index, word.data(), word.size()) == 0;
}

// Index of the first (or last) `byte` among the chunk's first `span` bytes, or -1.
std::int64_t FindAmongFirst(const std::uint8_t* chunk, std::int64_t size, std::int64_t span,
                            std::uint8_t byte, bool last) {
  std::int64_t found = -1;
  for (std::int64_t i = 0; i < std::min(span, size); ++i) {
    if (chunk[i] == byte) {
      found = i;
      if (!last) break;
    }
  }
  return found;
}

int ScanProgress(std::int64_t done, std::int64_t length) {
  const auto percent = static_cast<std::uint64_t>(done) * 100 / static_cast<std::uint64_t>(length);
  if (percent < 1) return 1;
  if (percent > 96) return 100;
  return static_cast<int>(percent);
}

}  // namespace

std::int32_t PDF_Repair::ParseSourceRun(std::int64_t first, std::int64_t last) {
  if (last < first) return 0;
  std::uint8_t run[1024];
  const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(last - first + 1, 1024));
  return ParseDecimal(run, source_->Read(first, wanted, run));
}

std::int32_t PDF_Repair::NumberOnLineBefore(std::int64_t end, BackwardSearch& lineSearch) {
  const std::int64_t lineEnd =
      lineSearch.Find(end - 1, [this](std::int64_t at) { return IsLineEnd(source_->ByteAt(at)); });
  // The walk gives up at the start of the file, so the line then starts at offset 1.
  const std::int64_t lineStart = lineEnd <= 0 ? 1 : lineEnd + 1;
  return ParseSourceRun(lineStart, end - 1);
}

bool PDF_Repair::ScanObjects() {
  results_ = ScanResults{};
  searches_ = std::make_unique<ScanSearches>(*source_);
  kidsWalkStart_ = -1;
  kidsWalkEnd_ = -1;
  kidsWalkFirst_ = 0;

  const std::int64_t length = source_->Length();
  results_.sourceLength = static_cast<std::uint64_t>(length);
  if (!StartStep(1)) return false;

  bool pageEndArmed = true;
  bool catalogEndArmed = true;
  std::uint8_t chunk[kChunkSize];
  for (std::int64_t chunkStart = kScanStart; chunkStart < length;) {
    const std::int64_t size = std::min(kChunkSize, length - chunkStart);
    source_->Read(chunkStart, static_cast<std::size_t>(size), chunk);
    if (source_->Failed()) return false;

    // The boundary rules look only at the chunk's first bytes, so they can fire only in its
    // first step; the positions they skip are not tested by the rules after them.
    std::int64_t i = 0;
    if (pageEndArmed) {
      const std::int64_t last = FindAmongFirst(chunk, size, 4, 'e', true);
      if (last >= 0) {
        pageEndArmed = false;
        for (std::int64_t k = 1; k < std::min<std::int64_t>(4, size); ++k) {
          if (chunk[k] == 'e') i += k;
        }
        const std::int64_t e = chunkStart + last;
        if (source_->ByteAt(e + 1) != 's' && source_->Matches(e - 4, "/Page")) RecordPage(e - 4);
      }
    }
    bool endScan = false;
    auto applyRules = [&](bool firstStep) {
      if (ChunkHas(chunk, size, i, "/Page") && i + 5 < size && chunk[i + 5] != 's') {
        RecordPage(chunkStart + i);
      }
      if (firstStep && catalogEndArmed) {
        const std::int64_t k = FindAmongFirst(chunk, size, 6, 'g', false);
        if (k >= 0) {
          catalogEndArmed = false;
          i += k;
          if (source_->Matches(chunkStart + k - 6, "Catalog")) RecordCatalog(chunkStart + k - 6);
        }
      }
      if (ChunkHas(chunk, size, i, "Catalog")) RecordCatalog(chunkStart + i);
      if (firstStep) {
        const std::int64_t k = FindAmongFirst(chunk, size, 3, 'j', false);
        if (k >= 0) {
          i += k;
          if (source_->Matches(chunkStart + k - 2, "ob")) RecordObjectKeyword(chunkStart + k - 2);
        }
      }
      if (ChunkHas(chunk, size, i, "obj")) RecordObjectKeyword(chunkStart + i);
      if (ChunkHas(chunk, size, i, "<</DecodeParms")) results_.decodeParmsSeen = true;
      if (ChunkHas(chunk, size, i, "trailer")) RecordTrailer(chunkStart + i);
      if (ChunkHas(chunk, size, i, "Kids") && !RecordKids(chunkStart + i)) endScan = true;
    };
    applyRules(true);
    for (++i; i < size && !endScan; ++i) {
      switch (chunk[i]) {
        case '/': case 'C': case 'o': case '<': case 't': case 'K':
          applyRules(false);
          break;
        default:
          break;
      }
    }
    // A Kids keyword with no object before it ends the scan; the bar stays where it was.
    if (endScan) return !source_->Failed();
    chunkStart += size;
    if (!Progress(ScanProgress(chunkStart, length))) return false;
  }
  return true;
}

void PDF_Repair::RecordObjectKeyword(std::int64_t objKeyword) {
  ScanSearches& scan = *searches_;
  if (source_->Matches(objKeyword - 3, " 0 ")) {
    // A second header before an "endobj" replaces the pending object.
    scan.objectOpen = true;
    const std::int64_t lineEnd = scan.objectLineStart.Find(
        objKeyword - 3, [this](std::int64_t at) { return IsLineEnd(source_->ByteAt(at)); });
    const std::int64_t lineStart = lineEnd <= 0 ? 1 : lineEnd + 1;
    scan.pendingNumber = ParseSourceRun(lineStart, objKeyword - 4);
    scan.pendingStart = lineStart;
  } else if (scan.objectOpen && source_->Matches(objKeyword - 3, "end")) {
    results_.objects.push_back({scan.pendingNumber, static_cast<std::uint64_t>(scan.pendingStart),
                                static_cast<std::uint64_t>(objKeyword - 3)});
    scan.objectOpen = false;
  }
}

void PDF_Repair::RecordPage(std::int64_t pageKeyword) {
  ScanSearches& scan = *searches_;
  // "Type" may stand with up to two blanks before "/Page"; otherwise the slash test below runs
  // on the bytes where a three- or four-blank "/Type" would have its slash.
  std::int64_t type = pageKeyword - 7;
  for (std::int64_t back = 4; back <= 6; ++back) {
    if (source_->Matches(pageKeyword - back, "Type")) {
      type = pageKeyword - back;
      break;
    }
  }
  if (type - 2 < 0 || (source_->ByteAt(type - 2) != '/' && source_->ByteAt(type - 1) != '/')) {
    return;
  }
  const std::int64_t dictionary = scan.pageDictionaryStart.Find(
      type, [this](std::int64_t at) { return source_->Matches(at, "<<"); });
  if (dictionary == BackwardSearch::kNone) return;
  const std::int64_t header = scan.pageHeader.Find(
      dictionary, [this](std::int64_t at) { return source_->Matches(at, " 0 obj"); });
  if (header == BackwardSearch::kNone) return;
  results_.pages.push_back(NumberOnLineBefore(header, scan.pageLineStart));
}

void PDF_Repair::RecordCatalog(std::int64_t catalogKeyword) {
  if (!source_->Matches(catalogKeyword, "Catalog")) return;
  // Unlike a page, a catalog is looked for only close to its keyword.
  constexpr std::int64_t kDictionaryReach = 21;
  constexpr std::int64_t kHeaderReach = 11;
  std::int64_t dictionary = BackwardSearch::kNone;
  for (std::int64_t back = 1; back <= kDictionaryReach; ++back) {
    if (source_->Matches(catalogKeyword - back, "<<")) {
      dictionary = catalogKeyword - back;
      break;
    }
  }
  if (dictionary == BackwardSearch::kNone) return;
  for (std::int64_t back = 0; back < kHeaderReach; ++back) {
    if (source_->Matches(dictionary - back, " 0 obj")) {
      results_.catalogNumber =
          NumberOnLineBefore(dictionary - back, searches_->catalogLineStart);
      return;
    }
  }
}

}  // namespace tarnwick
