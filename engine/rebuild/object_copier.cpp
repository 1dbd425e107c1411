// The copy of the objects: each record the plan takes, in table order (newest first), page
// objects with their Parent entry pointed at the new page tree.
#include "object_copier.h"

#include <algorithm>
#include <cstring>

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

int CopyProgress(std::uint64_t written, std::uint64_t sourceLength) {
  const std::uint64_t percent = sourceLength == 0 ? 100 : written * 100 / sourceLength;
  if (percent < 1) return 1;
  if (percent > 90) return 100;
  return static_cast<int>(percent);
}

}  // namespace

ObjectCopier::ObjectCopier(const CopyPlan& plan, SourceReader& source, OutputWriter& output,
                           JobProgress& progress, std::vector<XrefEntry>& xrefEntries,
                           RebuildSummary& summary)
    : plan_(plan),
      source_(source),
      output_(output),
      progress_(progress),
      xrefEntries_(xrefEntries),
      mendedStreams_(summary.mendedStreams),
      mendedObjects_(summary.mendedObjects),
      referenceRepair_(plan.Repair()),
      inheritedBytesLeft_(limits::kInheritedBytesFloor +
                          limits::kInheritedBytesPerSourceByte * plan.Results().sourceLength),
      decodeBudget_(limits::kDecodeBudgetFloor +
                    limits::kDecodeBudgetPerSourceByte * plan.Results().sourceLength) {}

bool ObjectCopier::CopyObjects() {
  if (!progress_.StartStep(2)) return false;
  const auto reportCopy = [&] {
    return progress_.Report(CopyProgress(output_.Length(), plan_.Results().sourceLength));
  };
  std::uint8_t page[kCopyChunk];
  for (std::size_t index = plan_.Results().objects.size(); index > 0; --index) {
    if (!plan_.IsCopied(index - 1)) continue;
    const ObjectRecord* record = &plan_.Results().objects[index - 1];
    if (plan_.IsLeftOut(index - 1)) {
      mendedObjects_.push_back({record->number, ObjectMendKind::kLeftOut, 0});
      continue;
    }
    if (IsListableNumber(record->number)) {
      xrefEntries_.push_back({record->number, output_.Length(), record->generation});
    }

    // Pages go through the Parent rewrite chunk by chunk; other objects straight from the
    // reader's blocks. A page's inherited attributes join it at its first rewrite.
    SourceReader& reader = plan_.ReaderOf(*record);
    const bool isPage = plan_.IsPage(record->number);
    std::string inherited = isPage ? InheritedEntries(*record) : std::string();
    std::uint64_t at = record->start;
    if ((plan_.Mending() && CopyMendedObject(index - 1, isPage, inherited)) ||
        (!isPage && CopyMendedStream(*record))) {
      at = record->end;
    }
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
  return true;
}

bool ObjectCopier::CopyPageChunk(const std::uint8_t* chunk, std::size_t length,
                                const std::string& inherited) {
  static constexpr char kParent[] = "/Parent";
  constexpr std::size_t kParentLength = sizeof kParent - 1;
  constexpr std::size_t kOldTail = 4;  // the " 0 R" after the old number
  for (std::size_t i = 0; i + kParentLength <= length; ++i) {
    // The key starts with a slash; the bytes before the next one cannot start it.
    const void* slash = std::memchr(chunk + i, '/', length - i);
    if (!slash) break;
    i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(slash) - chunk);
    if (i + kParentLength > length) break;
    if (std::memcmp(chunk + i, kParent, kParentLength) != 0) continue;
    // Only the first key of a chunk is rewritten, and only when the whole old reference lies
    // inside the chunk; otherwise the chunk is copied as it is.
    const std::size_t afterKey = i + kParentLength;
    std::size_t space = afterKey + 1;
    while (space < length && chunk[space] != ' ') ++space;
    if (afterKey >= length || space >= length || space + kOldTail > length) break;
    output_.Write(chunk, afterKey);
    output_.WriteByte(' ');
    output_.Write(FormatDecimal(plan_.NewPagesNumber()));
    output_.Write(" 0 R");
    output_.Write(inherited);
    output_.Write(chunk + space + kOldTail, length - space - kOldTail);
    return true;
  }
  output_.Write(chunk, length);
  return false;
}

}  // namespace tarnwick
