// The decisions of the copy, made once from the scan's results before anything is written.
#include "copy_plan.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "byte_classes.h"
#include "object_numbers.h"
#include "source_numbers.h"
#include "value_mender.h"

namespace tarnwick {

namespace {

// The first offset from `from` below `stop` that holds `byte`, or `stop`; `from` itself where
// the bytes cannot be viewed, so that the caller's own test decides there.
std::int64_t NextByte(SourceReader& reader, std::int64_t from, std::int64_t stop, std::uint8_t byte) {
  while (from < stop) {
    const std::span<const std::uint8_t> view = reader.View(from, static_cast<std::size_t>(stop - from));
    if (view.empty()) return from;
    const void* hit = std::memchr(view.data(), byte, view.size());
    if (hit) return from + (static_cast<const std::uint8_t*>(hit) - view.data());
    from += static_cast<std::int64_t>(view.size());
  }
  return stop;
}

void SortUnique(std::vector<std::int64_t>& numbers) {
  // Lists gathered in file order are mostly in order already.
  if (!std::is_sorted(numbers.begin(), numbers.end())) std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
}

}  // namespace

CopyPlan::CopyPlan(const ScanResults& results, SourceReader& source, SourceReader& unpacked,
                   bool mend, const TrailerProtection& protection,
                   const StandardSecurity* security)
    : results_(results),
      source_(source),
      unpacked_(unpacked),
      protection_(protection),
      security_(protection.encrypted ? security : nullptr),
      mend_(mend) {
  for (std::size_t i = 0; i < results.objects.size(); ++i) {
    recordNumbers_.Add(results.objects[i].number, i);
  }
  recordNumbers_.Seal();
  pageNumbers_.assign(results.pages.begin(), results.pages.end());
  SortUnique(pageNumbers_);
  // The fallback record is made before the Pages number so that the number can step aside when
  // the catalog already takes it.
  if (!results.trailer || results.trailerIncomplete) {
    if (!TakeXrefStreamTrailer()) MakeFallbackTrailer();
  }
  trailer_ = fallbackTrailer_ ? *fallbackTrailer_ : *results.trailer;
  ChooseVersions();
  ComputeNewPagesNumber();
  if (mend_) {
    bodyOffsets_.assign(results_.objects.size(), kNoBody);
    dictionaryValue_.assign(results_.objects.size(), false);
  }
  CheckPages();
}

std::int64_t CopyPlan::OutputRoot() const {
  return trailer_.root != 0 ? trailer_.root : static_cast<std::int64_t>(newPagesNumber_ + 1);
}

std::int64_t CopyPlan::FontReplacementNumber() const {
  return std::max(static_cast<std::int64_t>(newPagesNumber_ + 1), OutputRoot()) + 1;
}

void CopyPlan::CheckValueStarts(std::size_t index) {
  constexpr std::size_t kFirstBytes = 64;
  const ObjectRecord& record = results_.objects[index];
  SourceReader& reader = ReaderOf(record);
  const std::optional<std::int64_t> body = BodyStart(record);
  if (!body) return;  // no header to read: copied as it stands
  // The header reach keeps the offset within a byte; the copy asks for it again.
  bodyOffsets_[index] = static_cast<std::uint8_t>(*body - static_cast<std::int64_t>(record.start));
  const auto end = static_cast<std::int64_t>(record.end);
  const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(kFirstBytes, end - *body));
  std::span<const std::uint8_t> first = reader.View(*body, wanted);
  std::vector<std::uint8_t> copy;
  if (first.size() < wanted) {  // across a block border
    copy = reader.ReadVector(*body, wanted);
    first = copy;
  }
  if (!ValueStarts(first, *body + static_cast<std::int64_t>(first.size()) == end)) {
    if (leftOut_.empty()) leftOut_.resize(results_.objects.size());
    leftOut_[index] = true;
  }
  const auto value =
      std::find_if(first.begin(), first.end(), [](std::uint8_t b) { return !IsPdfSpace(b); });
  dictionaryValue_[index] = value != first.end() && *value == '<' && value + 1 != first.end() &&
                            value[1] == '<';
}

std::optional<std::int64_t> CopyPlan::CopiedBodyStart(std::size_t index) const {
  if (index >= bodyOffsets_.size()) return BodyStart(results_.objects[index]);
  if (bodyOffsets_[index] == kNoBody) return std::nullopt;
  return static_cast<std::int64_t>(results_.objects[index].start) + bodyOffsets_[index];
}

bool CopyPlan::HoldsDictionary(std::int64_t number) const {
  if (results_.packedObjects == PackedObjectAccess::kProtected) return true;
  if (!Holds(number) || !IsListableNumber(number)) return false;
  const std::optional<std::size_t> newest = newest_.Find(number);
  return newest && dictionaryValue_[*newest];
}

bool CopyPlan::Holds(std::int64_t number) const {
  if (results_.packedObjects == PackedObjectAccess::kProtected) return true;
  // The catalog keeps the source's Root number; the new Pages object and a catalog without one
  // take numbers that no source object holds, which a source's reference names only by mistake.
  if (trailer_.root != 0 && number == trailer_.root) return true;
  // The old page tree's root gives way to the new one, which no page reaches it through: only the
  // old tree's own nodes name it, and those no reader reaches any more. An intact file stays as
  // it is.
  if (number == results_.oldPagesNumber && number != 0) return true;
  if (!IsListableNumber(number)) return false;
  const std::optional<std::size_t> newest = newest_.Find(number);
  return newest && copied_[*newest] && !IsLeftOut(*newest);
}

void CopyPlan::MakeFallbackTrailer() {
  fallbackTrailer_ = TrailerRecord{
      0, static_cast<std::int32_t>(results_.objects.size()),
      IsListableNumber(results_.catalogNumber) ? results_.catalogNumber : 0,
      protection_.encryptNumber};
}

bool CopyPlan::TakeXrefStreamTrailer() {
  const auto& streams = results_.xrefStreams;
  if (streams.empty()) return false;
  // Each entry comes from the newest stream that has it: the last stream of a linearized file
  // says no more than /Size, its first-page stream has the rest.
  auto newestWith = [&](auto has) -> const XrefStreamRecord* {
    const auto found = std::find_if(streams.rbegin(), streams.rend(), has);
    return found == streams.rend() ? nullptr : &*found;
  };
  std::int32_t root = 0;
  if (const auto* xref = newestWith([](const auto& x) { return x.root != 0; })) root = xref->root;
  if (root == 0 && IsListableNumber(results_.catalogNumber)) root = results_.catalogNumber;
  const auto* info = newestWith([](const auto& x) { return x.info != 0; });
  fallbackTrailer_ = TrailerRecord{streams.back().offset, streams.back().size, root,
                                   protection_.encryptNumber, info ? info->info : 0};
  return true;
}

void CopyPlan::ComputeNewPagesNumber() {
  std::int64_t largest = 0;
  for (const ObjectRecord& record : results_.objects) {
    if (IsListableNumber(record.number)) largest = std::max(largest, record.number);
  }
  newPagesNumber_ = static_cast<std::uint64_t>(largest) + 2;
  // The catalog keeps the source's Root number; two objects must never share one.
  if (static_cast<std::uint64_t>(trailer_.root) == newPagesNumber_) ++newPagesNumber_;
}

void CopyPlan::ChooseVersions() {
  // An object rewritten by an incremental update stands in the source more than once. Readers
  // take the newest version, and so does the copy: older ones would only bring back what the
  // update replaced, or list a page twice.
  for (std::size_t i = results_.objects.size(); i > 0; --i) {
    const ObjectRecord& record = results_.objects[i - 1];
    if (IsListableNumber(record.number) && IsCopiedKind(record)) newest_.Add(record.number, i - 1);
  }
  newest_.Seal();
  copied_.resize(results_.objects.size());
  for (std::size_t i = 0; i < results_.objects.size(); ++i) copied_[i] = DecideCopied(i);
}

void CopyPlan::CheckPages() {
  const std::size_t count = results_.objects.size();
  pagePasses_.resize(count);
  // The pages, or without page dictionaries the objects the old Kids arrays name, each once: a
  // number has one newest version.
  std::vector<bool> isPage(count);
  std::vector<std::size_t> pages;
  auto take = [&](std::int64_t number) {
    const std::optional<std::size_t> index = newest_.Find(number);
    if (!index || isPage[*index]) return;
    isPage[*index] = true;
    pages.push_back(*index);
  };
  for (const std::int64_t number : pageNumbers_) take(number);
  if (results_.pages.empty()) {
    for (const KidsReference& reference : results_.kidsReferences) take(reference.number);
  }
  // Each page read, with where its /Contents references begin in one list of them all.
  std::vector<std::pair<std::size_t, std::size_t>> read;
  std::vector<std::int64_t> references;
  auto readPage = [&](std::size_t index) {
    read.emplace_back(index, references.size());
    ContentReferences(results_.objects[index], references);
  };
  // The source is read in the order it stands, so that each block is read once. A mended copy
  // reads the first bytes of every copied object's value too, in the same pass.
  if (mend_) {
    for (std::size_t i = 0; i < count; ++i) {
      if (isPage[i]) readPage(i);
      if (IsCopied(i)) CheckValueStarts(i);
    }
  } else {
    std::sort(pages.begin(), pages.end(), [this](std::size_t a, std::size_t b) {
      const ObjectRecord& x = results_.objects[a];
      const ObjectRecord& y = results_.objects[b];
      return std::tie(x.origin, x.start, a) < std::tie(y.origin, y.start, b);
    });
    for (const std::size_t index : pages) readPage(index);
  }
  // Whether a page passes is known once every valueless object is: a mended copy keeps a page
  // that has kept some of its content, without the lost streams.
  for (std::size_t i = 0; i < read.size(); ++i) {
    const auto [index, first] = read[i];
    const std::size_t last = i + 1 < read.size() ? read[i + 1].second : references.size();
    const std::span<const std::int64_t> contents(references.data() + first, last - first);
    if (IsPage(results_.objects[index].number)) {
      contentStreams_.insert(contentStreams_.end(), contents.begin(), contents.end());
    }
    pagePasses_[index] = ContentsPresent(contents) ||
                         (mend_ && std::any_of(contents.begin(), contents.end(),
                                               [this](std::int64_t number) { return Holds(number); }));
  }
  SortUnique(contentStreams_);
}

bool CopyPlan::DecideCopied(std::size_t index) const {
  const ObjectRecord& record = results_.objects[index];
  // The old page-tree root and the old catalog give way to the new ones.
  const bool replaced = record.number == results_.oldPagesNumber || record.number == trailer_.root;
  if (replaced || !IsCopiedKind(record)) return false;
  // Objects without a usable number cannot be told apart, so all of them are kept.
  return !IsListableNumber(record.number) || newest_.Find(record.number) == index;
}

bool CopyPlan::WasCopied(std::int64_t number) const {
  if (!IsListableNumber(number)) return false;
  const std::optional<std::size_t> newest = newest_.Find(number);
  return newest && copied_[*newest];
}

bool CopyPlan::IsCopiedKind(const ObjectRecord& record) const {
  // With the document's key the packed objects were decrypted, and their strings encrypted again
  // under the numbers they are written with.
  const bool packedReadable = results_.packedObjects == PackedObjectAccess::kDecrypted;
  switch (record.origin) {
    case RecordOrigin::kObjectStream:
      return protection_.encrypted && !packedReadable;
    case RecordOrigin::kUnpacked:
      return !protection_.encrypted || packedReadable;
    case RecordOrigin::kSource:
      return true;
  }
  return true;
}

bool CopyPlan::PagePasses(std::int64_t number) const {
  const std::optional<std::size_t> index = newest_.Find(number);
  return index && pagePasses_[*index];
}

const ObjectRecord* CopyPlan::NewestRecord(std::int64_t number) const {
  const std::optional<std::size_t> newest = newest_.Find(number);
  return newest ? &results_.objects[*newest] : nullptr;
}

SourceReader& CopyPlan::ReaderOf(const ObjectRecord& record) const {
  return record.origin == RecordOrigin::kUnpacked ? unpacked_ : source_;
}

std::optional<PdfDictionary> CopyPlan::DictionaryOf(const ObjectRecord& record) const {
  PdfSyntax syntax(ReaderOf(record), static_cast<std::int64_t>(record.end));
  const std::optional<std::int64_t> body =
      syntax.AfterObjectHeader(static_cast<std::int64_t>(record.start));
  if (!body) return std::nullopt;
  return syntax.ReadDictionary(*body);
}

std::optional<std::int64_t> CopyPlan::BodyStart(const ObjectRecord& record) const {
  // The record starts at its header's number; "obj" follows within a few blanks and digits.
  constexpr std::size_t kHeaderReach = 48;
  SourceReader& reader = ReaderOf(record);
  const auto start = static_cast<std::int64_t>(record.start);
  const auto wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(kHeaderReach, record.end - record.start));
  std::span<const std::uint8_t> header = reader.View(start, wanted);
  std::vector<std::uint8_t> copy;
  if (header.size() < wanted) {  // across a block border
    copy = reader.ReadVector(start, wanted);
    header = copy;
  }
  const std::string_view text(reinterpret_cast<const char*>(header.data()), header.size());
  const std::size_t obj = text.find("obj");
  if (obj == std::string_view::npos) return std::nullopt;
  return start + static_cast<std::int64_t>(obj) + 3;
}

bool CopyPlan::ContentsPresent(std::span<const std::int64_t> references) const {
  return std::all_of(references.begin(), references.end(),
                     [&](std::int64_t number) { return recordNumbers_.Contains(number); });
}

void CopyPlan::ContentReferences(const ObjectRecord& page,
                                 std::vector<std::int64_t>& references) const {
  SourceReader& reader = ReaderOf(page);
  const auto stop = static_cast<std::int64_t>(page.end);
  bool valueEnded = false;  // once set, later "Contents" keys of the object add nothing
  for (auto p = static_cast<std::int64_t>(page.start); p < stop; ++p) {
    p = NextByte(reader, p, stop, 'C');  // the bytes before cannot start the key
    if (p >= stop) break;
    if (!reader.Matches(p, "Contents")) continue;
    p += 8;
    int c = reader.ByteAt(p);
    for (;;) {
      if (c == '/' || p >= stop) break;
      while (c != 'R') {
        c = reader.ByteAt(++p);
        if (c == '/' || p >= stop) {
          valueEnded = true;
          break;
        }
      }
      if (valueEnded) break;
      // A reference "12 0 R": the digits end four bytes before the R.
      std::int64_t digit = p - 4;
      while (IsDigit(reader.ByteAt(digit))) --digit;
      const std::int64_t firstDigit = digit + 1;
      const std::int64_t digitCount = p - 4 - digit;
      // Only the last eight digits are read; more cannot name an object anyway.
      const std::int64_t parsedFrom = firstDigit + std::max<std::int64_t>(0, digitCount - 8);
      references.push_back(ParseSourceRun(reader, parsedFrom, p - 4));
      p = firstDigit + digitCount + 4;
      c = reader.ByteAt(p);
    }
  }
}

}  // namespace tarnwick
