#include "xref_check.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "byte_classes.h"
#include "engine_limits.h"
#include "pdf_syntax.h"
#include "reference_search.h"
#include "stream_decode.h"
#include "stream_extent.h"

namespace tarnwick {

namespace {

// Where startxref is looked for: the standard puts it in the last kilobyte; writers that pad
// or append junk after %%EOF push it further, never this far.
constexpr std::int64_t kStartxrefWindow = 1 << 20;

// White space that may stand where an offset leads before what it names: writers leave a few
// blanks; a walk through more would let each of many offsets cost a pass over the file.
constexpr std::int64_t kMaxLeadingSpace = 256;

std::int64_t SkipLeadingSpace(SourceReader& source, std::int64_t at) {
  for (const std::int64_t stop = at + kMaxLeadingSpace; at < stop && IsPdfSpace(source.ByteAt(at));) {
    ++at;
  }
  return at;
}

// The unsigned number after white space at `at` (at most 19 digits, so that it fits); `at`
// moves past it.
std::optional<std::uint64_t> DigitsAfterSpace(SourceReader& source, std::int64_t& at) {
  while (IsPdfSpace(source.ByteAt(at))) ++at;
  std::uint64_t value = 0;
  int count = 0;
  for (; IsDigit(source.ByteAt(at)) && count < 19; ++at, ++count) {
    value = value * 10 + static_cast<std::uint64_t>(source.ByteAt(at) - '0');
  }
  if (count == 0) return std::nullopt;
  return value;
}

// One entry of a section, in the order read: newest section first.
struct XrefEntry {
  enum class Kind : std::uint8_t { kFree, kAtOffset, kPacked };
  std::int64_t number = 0;
  std::uint64_t offset = 0;
  Kind kind = Kind::kFree;
};

class XrefReader {
 public:
  // `base`: where offset 0 lies, the header's first byte.
  XrefReader(SourceReader& source, const ScanIndex& index, std::int64_t base)
      : source_(source),
        index_(index),
        base_(base),
        decodeLeft_(limits::kDecodeBudgetFloor +
                    limits::kDecodeBudgetPerSourceByte * static_cast<std::uint64_t>(source.Length())),
        entriesLeft_(limits::kXrefEntriesFloor + static_cast<std::uint64_t>(source.Length()) /
                                                     limits::kSourceBytesPerXrefEntry) {}

  // Whether a table ("xref") or a cross-reference stream begins at `at`.
  bool SectionAt(std::int64_t at) {
    at = SkipLeadingSpace(source_, at);
    return TableAt(at) || StreamAt(at) != nullptr;
  }

  // Reads the section at `at` and every older one it leads to; false when one of them cannot
  // be read. An older one that is not where its offset says is passed over, and noted.
  bool ReadChain(std::int64_t at) {
    std::vector<std::int64_t> pending{at};
    std::unordered_set<std::int64_t> visited;
    while (!pending.empty()) {
      const std::int64_t section = pending.back();
      pending.pop_back();
      // A section that leads back to one already read: its offset is wrong.
      if (!visited.insert(section).second) {
        olderSectionLost_ = true;
        continue;
      }
      if (visited.size() > limits::kMaxXrefSections) return false;
      if (section != at && !SectionAt(section)) {
        olderSectionLost_ = true;
        continue;
      }
      std::vector<std::int64_t> older;
      const std::int64_t start = SkipLeadingSpace(source_, section);
      const bool read = TableAt(start) ? ReadTable(start, older) : ReadStream(start, older);
      if (!read) return false;
      // The hybrid file's stream is read before the table's /Prev: both are older than the
      // table, the stream newer than the previous section.
      pending.insert(pending.end(), older.rbegin(), older.rend());
    }
    return true;
  }

  std::vector<XrefEntry>& Entries() { return entries_; }
  bool TrailerDamaged() const { return trailerDamaged_; }
  std::int64_t Root() const { return root_; }
  bool OlderSectionLost() const { return olderSectionLost_; }

 private:
  std::int64_t SkipWhite(std::int64_t at) {
    while (IsPdfSpace(source_.ByteAt(at))) ++at;
    return at;
  }

  std::optional<std::uint64_t> Digits(std::int64_t& at) { return DigitsAfterSpace(source_, at); }

  bool TableAt(std::int64_t at) {
    return source_.Matches(at, "xref") && !IsRegular(source_.ByteAt(at + 4));
  }

  const XrefStreamRecord* StreamAt(std::int64_t at) {
    return index_.XrefStreamAt(static_cast<std::uint64_t>(at));
  }

  // A table's subsections up to its trailer, whose /XRefStm and /Prev are the older sections.
  // A table that runs into something else after a subsection ends there (its trailer lost).
  bool ReadTable(std::int64_t at, std::vector<std::int64_t>& older) {
    at += 4;
    bool readOne = false;
    for (;;) {
      at = SkipWhite(at);
      if (source_.Matches(at, "trailer")) break;
      std::int64_t next = at;
      const std::optional<std::uint64_t> first = Digits(next);
      const std::optional<std::uint64_t> count = first ? Digits(next) : std::nullopt;
      if (!count) return readOne;
      at = next;
      for (std::uint64_t i = 0; i < *count; ++i) {
        const std::optional<std::uint64_t> offset = Digits(at);
        const std::optional<std::uint64_t> generation = offset ? Digits(at) : std::nullopt;
        at = SkipWhite(at);
        const int use = source_.ByteAt(at);
        if (!generation || (use != 'n' && use != 'f')) return false;
        ++at;
        // Readers take an entry by its first bytes; words after it on its line are passed over.
        std::int64_t word = at;
        while (source_.ByteAt(word) == ' ' || source_.ByteAt(word) == '\t') ++word;
        const int letter = source_.ByteAt(word) | 0x20;
        if (letter >= 'a' && letter <= 'z' && !source_.Matches(word, "trailer")) {
          while (at < source_.Length() && !IsLineEnd(source_.ByteAt(at))) ++at;
        }
        if (!Keep({static_cast<std::int64_t>(*first + i), *offset,
                   use == 'n' ? XrefEntry::Kind::kAtOffset : XrefEntry::Kind::kFree})) {
          return false;
        }
      }
      readOne = true;
    }
    PdfSyntax syntax(source_, source_.Length());
    const std::optional<PdfDictionary> trailer = syntax.ReadDictionary(at + 7);
    if (!trailer || !TrailerWhole(*trailer)) trailerDamaged_ = true;
    if (!trailer) return true;
    NoteRoot(*trailer);
    for (const char* key : {"XRefStm", "Prev"}) {
      if (const auto offset = IntegerOf(trailer->Find(key)); offset && *offset >= 0) {
        older.push_back(base_ + *offset);
      }
    }
    return true;
  }

  bool ReadStream(std::int64_t at, std::vector<std::int64_t>& older) {
    const XrefStreamRecord* stream = StreamAt(at);
    if (!stream) return false;
    const auto end = static_cast<std::int64_t>(stream->end);
    PdfSyntax syntax(source_, end);
    const std::optional<std::int64_t> body = syntax.AfterObjectHeader(at);
    const std::optional<PdfDictionary> dictionary =
        body ? syntax.ReadDictionary(*body) : std::nullopt;
    if (!dictionary) return false;
    NoteRoot(*dictionary);
    const std::optional<std::vector<std::int64_t>> widths = Integers(syntax, dictionary->Find("W"));
    if (!widths || widths->size() != 3 ||
        std::any_of(widths->begin(), widths->end(), [](std::int64_t w) { return w < 0 || w > 8; })) {
      return false;
    }
    std::vector<std::int64_t> ranges{0, IntegerOf(dictionary->Find("Size")).value_or(0)};
    if (dictionary->Find("Index")) {
      const auto index = Integers(syntax, dictionary->Find("Index"));
      if (!index || index->size() % 2 != 0) return false;
      ranges = *index;
    }
    const std::optional<StreamFilter> filter = FilterOf(syntax, *dictionary);
    const std::optional<std::int64_t> dataStart = syntax.StreamDataStart(dictionary->end);
    if (!filter || !dataStart) return false;
    const std::int64_t dataEnd = StreamDataEnd(source_, *dictionary, *dataStart, end);
    const std::size_t cap = static_cast<std::size_t>(
        std::min<std::uint64_t>(limits::kMaxDecodedStreamBytes, decodeLeft_));
    const std::optional<DecodedStream> rows = DecodeStream(source_, *dataStart, dataEnd, cap, *filter);
    if (!rows) return false;
    decodeLeft_ -= std::min<std::uint64_t>(decodeLeft_, rows->bytes.size());
    const auto rowSize = static_cast<std::size_t>((*widths)[0] + (*widths)[1] + (*widths)[2]);
    if (rowSize == 0) return false;
    std::size_t row = 0;
    for (std::size_t r = 0; r < ranges.size(); r += 2) {
      if (ranges[r] < 0 || ranges[r + 1] < 0 ||
          ranges[r] > std::numeric_limits<std::int64_t>::max() - ranges[r + 1]) {
        return false;
      }
      for (std::int64_t i = 0; i < ranges[r + 1]; ++i, row += rowSize) {
        if (row + rowSize > rows->bytes.size()) return false;
        std::size_t field = row;
        const std::uint64_t type = (*widths)[0] == 0 ? 1 : Field(rows->bytes, field, (*widths)[0]);
        const std::uint64_t second = Field(rows->bytes, field, (*widths)[1]);
        const XrefEntry::Kind kind = type == 1   ? XrefEntry::Kind::kAtOffset
                                     : type == 2 ? XrefEntry::Kind::kPacked
                                                 : XrefEntry::Kind::kFree;
        if (!Keep({ranges[r] + i, second, kind})) return false;
      }
    }
    if (const auto previous = IntegerOf(dictionary->Find("Prev")); previous && *previous >= 0) {
      older.push_back(base_ + *previous);
    }
    return true;
  }

  // A trailer dictionary as readers need it: /Size a number, /Prev a number where present, no
  // key twice.
  static bool TrailerWhole(const PdfDictionary& trailer) {
    const PdfValue* previous = trailer.Find("Prev");
    if (!IntegerOf(trailer.Find("Size")) || (previous && !IntegerOf(previous))) return false;
    std::vector<std::string_view> keys;
    for (const PdfEntry& entry : trailer.entries) keys.push_back(entry.key);
    std::sort(keys.begin(), keys.end());
    return std::adjacent_find(keys.begin(), keys.end()) == keys.end();
  }

  bool Keep(const XrefEntry& entry) {
    if (entriesLeft_ == 0) return false;
    --entriesLeft_;
    entries_.push_back(entry);
    return true;
  }

  // Keeps the /Root of the first section read, the newest.
  void NoteRoot(const PdfDictionary& dictionary) {
    const PdfValue* root = dictionary.Find("Root");
    if (!rootNoted_ && root && root->kind == PdfValue::Kind::kReference) root_ = root->integer;
    rootNoted_ = true;
  }

  static std::uint64_t Field(const std::vector<std::uint8_t>& bytes, std::size_t& at,
                             std::int64_t width) {
    std::uint64_t value = 0;
    for (std::int64_t i = 0; i < width; ++i) value = (value << 8) | bytes[at++];
    return value;
  }

  static std::optional<std::vector<std::int64_t>> Integers(PdfSyntax& syntax, const PdfValue* value) {
    if (!value || value->kind != PdfValue::Kind::kArray) return std::nullopt;
    const std::optional<std::vector<PdfValue>> items = syntax.ReadArray(value->begin);
    if (!items) return std::nullopt;
    std::vector<std::int64_t> integers;
    for (const PdfValue& item : *items) {
      if (item.kind != PdfValue::Kind::kInteger) return std::nullopt;
      integers.push_back(item.integer);
    }
    return integers;
  }

  SourceReader& source_;
  const ScanIndex& index_;
  std::int64_t base_;
  std::uint64_t decodeLeft_;
  std::uint64_t entriesLeft_;
  std::vector<XrefEntry> entries_;
  bool olderSectionLost_ = false;
  bool trailerDamaged_ = false;
  bool rootNoted_ = false;
  std::int64_t root_ = 0;
};

// The offset after the last "startxref" of the file's tail.
struct Startxref {
  bool found = false;
  std::optional<std::uint64_t> offset;
};

Startxref FindStartxref(SourceReader& source) {
  const std::int64_t floor = std::max<std::int64_t>(0, source.Length() - kStartxrefWindow);
  for (std::int64_t at = source.Length() - 9; at >= floor; --at) {
    if (source.ByteAt(at) != 's' || !source.Matches(at, "startxref")) continue;
    at += 9;
    return {true, DigitsAfterSpace(source, at)};
  }
  return {};
}

// The last section of the file's tail, past its last object: a table, or else the last
// cross-reference stream the scan found.
std::optional<std::int64_t> LastSection(SourceReader& source, const ScanIndex& index) {
  const ObjectRecord* last = index.LastPlainRecord();
  const std::int64_t floor = last ? static_cast<std::int64_t>(last->end) : 0;
  for (std::int64_t at = source.Length() - 4; at >= floor; --at) {
    if (source.ByteAt(at) == 'x' && source.Matches(at, "xref") &&
        !IsRegular(source.ByteAt(at - 1)) && !IsRegular(source.ByteAt(at + 4))) {
      return at;
    }
  }
  const auto& streams = index.Results().xrefStreams;
  if (streams.empty()) return std::nullopt;
  return static_cast<std::int64_t>(
      std::max_element(streams.begin(), streams.end(), [](const auto& a, const auto& b) {
        return a.offset < b.offset;
      })->offset);
}

void CompareWithScan(SourceReader& source, ScanIndex& index, std::int64_t base,
                     std::vector<XrefEntry>& entries, XrefFindings& findings) {
  // The newest entry of each number is the first read.
  const auto byNumber = [](const XrefEntry& a, const XrefEntry& b) { return a.number < b.number; };
  if (!std::is_sorted(entries.begin(), entries.end(), byNumber)) {
    std::stable_sort(entries.begin(), entries.end(), byNumber);
  }
  std::vector<std::int64_t> lost;  // in order, as the entries are
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const XrefEntry& entry = entries[i];
    if (i > 0 && entries[i - 1].number == entry.number) continue;
    if (entry.kind != XrefEntry::Kind::kAtOffset) continue;
    // A cross-reference stream lists itself; the scan keeps it apart from the objects.
    const std::uint64_t place = entry.offset + static_cast<std::uint64_t>(base);
    if (index.XrefStreamAt(place)) continue;
    const std::optional<std::uint64_t> found = index.NewestStart(entry.number);
    if (!found && !index.Newest(entry.number)) {
      lost.push_back(entry.number);
      continue;
    }
    if (entry.offset > 0 && place < static_cast<std::uint64_t>(source.Length())) {
      if (index.StartsAt(entry.number, place)) continue;
      const std::int64_t at = SkipLeadingSpace(source, static_cast<std::int64_t>(place));
      if (index.StartsAt(entry.number, static_cast<std::uint64_t>(at))) continue;
    }
    ++findings.wrongOffsetCount;
    if (findings.wrongOffsets.size() < SourceFindings::kMaxListedWrongOffsets) {
      findings.wrongOffsets.push_back({entry.number, entry.offset, found});
    }
  }
  if (findings.wrongOffsetCount > 0) findings.xref = XrefState::kWrongOffsets;
  // A lost object matters when something names it; files often list objects nothing uses.
  if (lost.empty()) return;
  std::vector<std::int64_t> named = NumbersReferenced(source, lost);
  const std::vector<std::int64_t> namedUnpacked = NumbersReferenced(index.Unpacked(), lost);
  named.insert(named.end(), namedUnpacked.begin(), namedUnpacked.end());
  std::sort(named.begin(), named.end());
  findings.lostObjectCount = static_cast<std::uint64_t>(
      std::unique(named.begin(), named.end()) - named.begin());
}

}  // namespace

XrefFindings CheckXref(SourceReader& source, ScanIndex& index, std::int64_t headerOffset) {
  XrefFindings findings;
  const Startxref startxref = FindStartxref(source);
  // Offsets count from the header, as readers take them in a file with bytes before its
  // header; failing that, from the file's start.
  std::int64_t base = headerOffset;
  auto leadsToSection = [&](std::int64_t from) {
    const auto target = static_cast<std::uint64_t>(from) + *startxref.offset;
    if (target >= static_cast<std::uint64_t>(source.Length())) return false;
    return XrefReader(source, index, from).SectionAt(static_cast<std::int64_t>(target));
  };
  std::optional<std::int64_t> section;
  if (!startxref.found || !startxref.offset) {
    findings.startxref = StartxrefState::kMissing;
  } else if (leadsToSection(base) || (base > 0 && leadsToSection(base = 0))) {
    section = base + static_cast<std::int64_t>(*startxref.offset);
  } else {
    base = 0;
  }
  XrefReader reader(source, index, base);
  if (!section) {
    section = LastSection(source, index);
    // A startxref that leads nowhere is wrong when a section stands elsewhere, or when it
    // leads past the end; pointing at a section that was wiped out, it is the section that
    // is missing.
    const bool pastEnd = startxref.offset && *startxref.offset >= static_cast<std::uint64_t>(source.Length());
    if (startxref.offset && (section || pastEnd)) findings.startxref = StartxrefState::kWrong;
  }
  if (!section) {
    findings.xref = XrefState::kMissing;
    return findings;
  }
  const bool read = reader.ReadChain(*section);
  findings.root = reader.Root();
  findings.trailerDamaged = reader.TrailerDamaged();
  if (!read) {
    findings.xref = XrefState::kUnreadable;
    return findings;
  }
  CompareWithScan(source, index, base, reader.Entries(), findings);
  if (reader.OlderSectionLost()) findings.xref = XrefState::kWrongOffsets;
  return findings;
}

}  // namespace tarnwick
