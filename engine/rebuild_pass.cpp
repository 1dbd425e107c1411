// Step 2: every located object copied in table order (newest first), page objects with their
// Parent entry pointed at the new page tree; then the new tree, catalog and tail.
#include "rebuild_pass.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "decimal.h"
#include "engine_limits.h"
#include "object_numbers.h"

namespace tarnwick {

namespace {

constexpr std::size_t kCopyChunk = 512;
// Objects this large are copied from file to file by the system where it can.
constexpr std::uint64_t kDirectCopyMinimum = 64 << 10;
// Objects are copied in pieces of this size with a safe point between them, so that a pause or a
// stop takes hold within one piece and the bar moves within a large object.
constexpr std::uint64_t kCopyPiece = 1 << 20;
// A cross-reference entry holds ten decimal digits of offset.
constexpr std::uint64_t kLargestXrefOffset = 9'999'999'999;

int CopyProgress(std::uint64_t written, std::uint64_t sourceLength) {
  const std::uint64_t percent = sourceLength == 0 ? 100 : written * 100 / sourceLength;
  if (percent < 1) return 1;
  if (percent > 90) return 100;
  return static_cast<int>(percent);
}

}  // namespace

RebuildPass::RebuildPass(const ScanResults& results, SourceReader& source, OutputWriter& output,
                         JobProgress& progress)
    : results_(results),
      source_(source),
      unpacked_(results.unpacked),
      output_(output),
      progress_(progress),
      protection_(ProtectionInForce(results)),
      decodeParmsSeen_(results.decodeParmsSeen),
      inheritedBytesLeft_(limits::kInheritedBytesFloor +
                          limits::kInheritedBytesPerSourceByte * results.sourceLength),
      decodeBudget_(limits::kDecodeBudgetFloor +
                    limits::kDecodeBudgetPerSourceByte * results.sourceLength) {
  for (std::size_t i = 0; i < results.objects.size(); ++i) {
    recordNumbers_.Add(results.objects[i].number, i);
  }
  recordNumbers_.Seal();
  pageNumbers_.insert(results.pages.begin(), results.pages.end());
}

bool RebuildPass::RunRebuildPass() {
  // The fallback record is made before the Pages number so that the number can step aside when
  // the catalog already takes it.
  if (!results_.trailer || results_.trailerIncomplete) {
    if (!TakeXrefStreamTrailer()) MakeFallbackTrailer();
  }
  trailer_ = summary_.fallbackTrailer ? *summary_.fallbackTrailer : *results_.trailer;
  for (const std::int64_t number : results_.lineEndsUndone) {
    summary_.mendedStreams.push_back({number, StreamMend::kLineEndsUndone});
  }
  ChooseVersions();
  ComputeNewPagesNumber();
  if (!CopyObjects()) return false;
  WriteCatalogObject();
  // Entries are made in the order written, so the last has the largest offset.
  if (!xrefEntries_.empty() && xrefEntries_.back().offset > kLargestXrefOffset) {
    summary_.outputTooLarge = true;
    return false;
  }
  WriteXrefTable();
  WriteTrailer();
  WriteStartXref();
  return progress_.SafePoint();
}

void RebuildPass::MakeFallbackTrailer() {
  summary_.fallbackTrailer = TrailerRecord{
      0, static_cast<std::int32_t>(results_.objects.size()),
      IsListableNumber(results_.catalogNumber) ? results_.catalogNumber : 0,
      protection_.encryptNumber};
}

bool RebuildPass::TakeXrefStreamTrailer() {
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
  summary_.fallbackTrailer = TrailerRecord{streams.back().offset, streams.back().size, root,
                                           protection_.encryptNumber, info ? info->info : 0};
  return true;
}

void RebuildPass::ComputeNewPagesNumber() {
  std::int64_t largest = 0;
  for (const ObjectRecord& record : results_.objects) {
    if (IsListableNumber(record.number)) largest = std::max(largest, record.number);
  }
  summary_.newPagesNumber = static_cast<std::uint64_t>(largest) + 2;
  // The catalog keeps the source's Root number; two objects must never share one.
  if (static_cast<std::uint64_t>(trailer_.root) == summary_.newPagesNumber) {
    ++summary_.newPagesNumber;
  }
}

void RebuildPass::ChooseVersions() {
  encrypted_ = protection_.encrypted;
  // An object rewritten by an incremental update stands in the source more than once. Readers
  // take the newest version, and so does the copy: older ones would only bring back what the
  // update replaced, or list a page twice.
  for (std::size_t i = results_.objects.size(); i > 0; --i) {
    const ObjectRecord& record = results_.objects[i - 1];
    if (IsListableNumber(record.number) && IsCopiedKind(record)) {
      newest_.Add(record.number, i - 1);
    }
  }
  newest_.Seal();
  // The pages are read in the order they stand, so that each block of the source is read once.
  std::vector<const ObjectRecord*> pages;
  for (const std::int64_t page : pageNumbers_) {
    if (const ObjectRecord* record = NewestRecord(page)) pages.push_back(record);
  }
  std::sort(pages.begin(), pages.end(), [](const ObjectRecord* a, const ObjectRecord* b) {
    return std::tie(a->origin, a->start) < std::tie(b->origin, b->start);
  });
  for (const ObjectRecord* record : pages) {
    const std::vector<std::int64_t> contents =
        ContentReferences(ReaderOf(*record), record->start, record->end);
    contentStreams_.insert(contents.begin(), contents.end());
    // The page check is answered now too, so that no page is read for it again.
    pagePasses_.emplace(record->number, ContentsPresent(contents));
  }
}

bool RebuildPass::IsCopied(std::size_t index) const {
  const ObjectRecord& record = results_.objects[index];
  // The old page-tree root and the old catalog give way to the new ones.
  const bool replaced = record.number == results_.oldPagesNumber || record.number == trailer_.root;
  if (replaced || !IsCopiedKind(record)) return false;
  // Objects without a usable number cannot be told apart, so all of them are kept.
  return !IsListableNumber(record.number) || newest_.Find(record.number) == index;
}

bool RebuildPass::IsCopiedKind(const ObjectRecord& record) const {
  // With the document's key the packed objects were decrypted, and their strings encrypted again
  // under the numbers they are written with.
  const bool packedReadable = results_.packedObjects == PackedObjectAccess::kDecrypted;
  switch (record.origin) {
    case RecordOrigin::kObjectStream:
      return encrypted_ && !packedReadable;
    case RecordOrigin::kUnpacked:
      return !encrypted_ || packedReadable;
    case RecordOrigin::kSource:
      return true;
  }
  return true;
}

bool RebuildPass::CopyObjects() {
  if (!progress_.StartStep(2)) return false;
  const auto reportCopy = [&] {
    return progress_.Report(CopyProgress(output_.Length(), results_.sourceLength));
  };
  std::uint8_t page[kCopyChunk];
  for (std::size_t index = results_.objects.size(); index > 0; --index) {
    if (!IsCopied(index - 1)) continue;
    const ObjectRecord* record = &results_.objects[index - 1];
    if (IsListableNumber(record->number)) {
      xrefEntries_.push_back({record->number, output_.Length(), record->generation});
    }

    // Pages go through the Parent rewrite chunk by chunk; other objects straight from the
    // reader's blocks. A page's inherited attributes join it at its first rewrite.
    SourceReader& reader = ReaderOf(*record);
    const bool isPage = pageNumbers_.contains(record->number);
    std::string inherited = isPage ? InheritedEntries(*record) : std::string();
    std::uint64_t at = record->start;
    if (!isPage && CopyMendedStream(*record)) at = record->end;
    if (at < record->end && !isPage && reader.File() && record->end - at >= kDirectCopyMinimum) {
      while (at < record->end) {
        const auto piece = static_cast<std::size_t>(std::min(kCopyPiece, record->end - at));
        if (!output_.CopyFrom(*reader.File(), at, piece)) break;
        at += piece;
        if (at < record->end && !reportCopy()) return false;
      }
    }
    if (output_.Failed()) {
      // The system's copy ends early when the source shrank; the reader then says so, rather
      // than the output taking the blame.
      reader.CheckStillWhole();
      return false;
    }
    std::uint64_t sinceReport = 0;
    while (at < record->end) {
      const auto wanted = static_cast<std::size_t>(
          std::min<std::uint64_t>(isPage ? kCopyChunk : record->end - at, record->end - at));
      std::span<const std::uint8_t> bytes = reader.View(static_cast<std::int64_t>(at), wanted);
      if (isPage && bytes.size() < wanted) {
        bytes = {page, reader.Read(static_cast<std::int64_t>(at), wanted, page)};
      }
      if (bytes.empty() || (isPage && bytes.size() != wanted)) return false;  // the file shrank
      if (isPage) {
        if (CopyPageChunk(bytes.data(), bytes.size(), inherited)) inherited.clear();
      } else {
        output_.Write(bytes.data(), bytes.size());
      }
      at += bytes.size();
      sinceReport += bytes.size();
      if (sinceReport >= kCopyPiece && at < record->end) {
        sinceReport = 0;
        if (!reportCopy()) return false;
      }
    }
    output_.Write("endobj\n");
    if (!reportCopy()) return false;
  }
  WritePagesObject();
  return true;
}

bool RebuildPass::CopyPageChunk(const std::uint8_t* chunk, std::size_t length,
                                const std::string& inherited) {
  static constexpr char kParent[] = "/Parent";
  constexpr std::size_t kParentLength = sizeof kParent - 1;
  constexpr std::size_t kOldTail = 4;  // the " 0 R" after the old number
  for (std::size_t i = 0; i + kParentLength <= length; ++i) {
    if (std::memcmp(chunk + i, kParent, kParentLength) != 0) continue;
    // Only the first key of a chunk is rewritten, and only when the whole old reference lies
    // inside the chunk; otherwise the chunk is copied as it is.
    const std::size_t afterKey = i + kParentLength;
    std::size_t space = afterKey + 1;
    while (space < length && chunk[space] != ' ') ++space;
    if (afterKey >= length || space >= length || space + kOldTail > length) break;
    output_.Write(chunk, afterKey);
    output_.WriteByte(' ');
    output_.Write(FormatDecimal(summary_.newPagesNumber));
    output_.Write(" 0 R");
    output_.Write(inherited);
    output_.Write(chunk + space + kOldTail, length - space - kOldTail);
    return true;
  }
  output_.Write(chunk, length);
  return false;
}

SourceReader& RebuildPass::ReaderOf(const ObjectRecord& record) {
  return record.origin == RecordOrigin::kUnpacked ? unpacked_ : source_;
}

}  // namespace tarnwick
