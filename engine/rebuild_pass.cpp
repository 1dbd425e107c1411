// Step 2: every located object copied in table order (newest first), page objects with their
// Parent entry pointed at the new page tree; then the new tree, catalog and tail.
#include <algorithm>
#include <cstring>

#include "object_numbers.h"
#include "rebuild_index.h"

namespace tarnwick {

namespace {

constexpr std::size_t kCopyChunk = 512;

int CopyProgress(std::uint64_t written, std::uint64_t sourceLength) {
  const std::uint64_t percent = sourceLength == 0 ? 100 : written * 100 / sourceLength;
  if (percent < 1) return 1;
  if (percent > 90) return 100;
  return static_cast<int>(percent);
}

}  // namespace

bool PDF_Repair::RunRebuildPass() {
  index_ = std::make_unique<RebuildIndex>(results_);
  unpackedReader_ = std::make_unique<SourceReader>(results_.unpacked);
  xrefEntries_.clear();
  // The fallback record is made before the Pages number so that the number can step aside when
  // the catalog already takes it.
  if (results_.trailers.empty() || results_.trailerIncomplete) {
    if (!TakeXrefStreamTrailer()) MakeFallbackTrailer();
  }
  ComputeNewPagesNumber();
  if (!CopyObjects()) return false;
  WriteCatalogObject();
  WriteXrefTable();
  WriteTrailer();
  WriteStartXref();
  index_.reset();
  unpackedReader_.reset();
  return SafePoint();
}

void PDF_Repair::MakeFallbackTrailer() {
  results_.fallbackTrailer =
      TrailerRecord{0, static_cast<std::int32_t>(results_.objects.size()),
                    IsListableNumber(results_.catalogNumber) ? results_.catalogNumber : 0,
                    results_.encryptionNumber};
}

bool PDF_Repair::TakeXrefStreamTrailer() {
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
  if (const auto* xref = newestWith([](const auto& x) { return x.hasEncrypt; })) {
    results_.encryptionSeen = true;
    results_.encryptionNumber = xref->encrypt;
  }
  if (const auto* xref = newestWith([](const auto& x) { return x.idArray != 0; })) {
    results_.identifierSeen = true;
    results_.identifierKeyEnd = xref->idArray;
  }
  const auto* info = newestWith([](const auto& x) { return x.info != 0; });
  results_.fallbackTrailer = TrailerRecord{streams.back().offset, streams.back().size, root,
                                           results_.encryptionNumber, info ? info->info : 0};
  return true;
}

void PDF_Repair::ComputeNewPagesNumber() {
  std::int64_t largest = 0;
  for (const ObjectRecord& record : results_.objects) {
    if (IsListableNumber(record.number)) largest = std::max(largest, record.number);
  }
  results_.newPagesNumber = static_cast<std::uint64_t>(largest) + 2;
  // The catalog keeps the source's Root number; two objects must never share one.
  const std::int32_t root = results_.CurrentTrailer()->root;
  if (static_cast<std::uint64_t>(root) == results_.newPagesNumber) ++results_.newPagesNumber;
}

bool PDF_Repair::IsCopied(const ObjectRecord& record, bool encrypted) const {
  // The old page-tree root and the old catalog give way to the new ones.
  const bool replaced =
      record.number == results_.oldPagesNumber || record.number == results_.CurrentTrailer()->root;
  return !replaced && IsCopiedKind(record, encrypted);
}

bool PDF_Repair::IsCopiedKind(const ObjectRecord& record, bool encrypted) {
  switch (record.origin) {
    case RecordOrigin::kObjectStream:
      return encrypted;
    case RecordOrigin::kUnpacked:
      return !encrypted;
    case RecordOrigin::kSource:
      return true;
  }
  return true;
}

bool PDF_Repair::CopyObjects() {
  if (!StartStep(2)) return false;
  // Decided before the trailer is written, which clears the flag.
  const bool encrypted = results_.encryptionSeen;
  std::uint8_t page[kCopyChunk];
  for (auto record = results_.objects.rbegin(); record != results_.objects.rend(); ++record) {
    if (!IsCopied(*record, encrypted)) continue;
    if (IsListableNumber(record->number))
      xrefEntries_.emplace_back(record->number, output_->Length());

    // Pages go through the Parent rewrite chunk by chunk; other objects straight from the
    // reader's blocks. A page's inherited attributes join it at its first rewrite.
    SourceReader& reader = ReaderOf(*record);
    const bool isPage = index_->pageNumbers.contains(record->number);
    std::string inherited = isPage ? InheritedEntries(*record) : std::string();
    for (std::uint64_t at = record->start; at < record->end;) {
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
        output_->Write(bytes.data(), bytes.size());
      }
      at += bytes.size();
    }
    output_->Write("endobj\n");
    ++results_.objectCounter;
    if (!Progress(CopyProgress(output_->Length(), results_.sourceLength))) return false;
  }
  WritePagesObject();
  results_.objectCounter += 2;
  return true;
}

bool PDF_Repair::CopyPageChunk(const std::uint8_t* chunk, std::size_t length,
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
    output_->Write(chunk, afterKey);
    output_->WriteByte(' ');
    output_->Write(FormatDecimal(results_.newPagesNumber));
    output_->Write(" 0 R");
    output_->Write(inherited);
    output_->Write(chunk + space + kOldTail, length - space - kOldTail);
    return true;
  }
  output_->Write(chunk, length);
  return false;
}

SourceReader& PDF_Repair::ReaderOf(const ObjectRecord& record) {
  return record.origin == RecordOrigin::kUnpacked ? *unpackedReader_ : *source_;
}

}  // namespace tarnwick
