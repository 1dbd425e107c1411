#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rebuild_summary.h"

namespace tarnwick {

// How a job ended. The first three wrote a copy; the next seven ended without one. A check,
// which writes nothing, ends intact or needing repair when its analysis ran to its end.
enum class RepairStatus : std::uint8_t {
  kRepaired,            // the copy holds everything that was found
  kRepairedWithLosses,  // the copy lacks pages or content that the source once had
  kNoPageRecovered,     // the copy was written, but no page could be recovered
  kSourceUnreadable,    // the source could not be opened or read
  kOutputNotWritable,   // the copy could not be created, written or closed
  kStopped,             // the user (or an interruption) stopped the job
  kDeclinedOverwrite,   // the copy's name was taken and the user kept the existing file
  kOutOfMemory,
  kOutputTooLarge,  // the copy would pass what its cross-reference table can address
  kSourceChanged,   // the source became shorter while the job read it
  kIntact,          // a check found nothing wrong
  kNeedsRepair,     // a check found something wrong
};

enum class HeaderState : std::uint8_t {
  kIntact,
  kMissing,  // no "%PDF-" in the first kilobyte
  kDamaged,  // "%PDF-" without a version after it
  // Bytes before a whole header: readers skip them (offsets counting from the header), so it
  // is not damage by itself.
  kAfterJunk,
};

enum class XrefState : std::uint8_t {
  kIntact,
  kMissing,       // no cross-reference table or stream where startxref leads, nor any found
  kWrongOffsets,  // readable, but some of its entries (or an older section's offset) lead nowhere
  kUnreadable,    // startxref leads to a table or stream that cannot be read
};

enum class StartxrefState : std::uint8_t {
  kIntact,
  kMissing,  // no "startxref" and offset near the end of the file
  kWrong,    // its offset leads to no cross-reference table or stream
};

enum class TrailerState : std::uint8_t {
  kIntact,
  kMissing,      // neither a trailer dictionary nor a cross-reference stream was found
  kWithoutRoot,  // the trailer in force names no catalog
  kRootLost,     // the catalog it names was not found
  kDamaged,      // a trailer dictionary does not read whole, lacks /Size, or names a key twice
};

enum class PageTreeState : std::uint8_t {
  kIntact,
  kMissing,  // the catalog names no page tree, or its root was not found (not judged without
             // a catalog: the trailer's state says why there is none)
  kBroken,   // a node names a lost or unreadable kid, or the tree counts more pages than it has
};

enum class EncryptionState : std::uint8_t {
  kNone,
  kOpened,          // encrypted, and the empty or the given password opened it
  kPasswordNeeded,  // encrypted, and no password tried opened it
  kKeyLost,         // encrypted, and the identifier its key derives from was lost with the trailer
};

// An entry of the source's cross-reference data that does not lead to its object: `listed` is
// the offset the entry gives, `found` where the scan found the newest version of the number
// (none when it found none).
struct WrongOffset {
  std::int64_t number = 0;
  std::uint64_t listed = 0;
  std::optional<std::uint64_t> found;
  bool operator==(const WrongOffset&) const = default;
};

// What was wrong with the source, as read after the scan without trusting any of it.
struct SourceFindings {
  HeaderState header = HeaderState::kIntact;
  XrefState xref = XrefState::kIntact;
  // How many entries lead to the wrong place, and the first kMaxListedWrongOffsets of them.
  std::uint64_t wrongOffsetCount = 0;
  std::vector<WrongOffset> wrongOffsets;
  static constexpr std::size_t kMaxListedWrongOffsets = 100;
  // How many objects the cross-reference data lists in use, a reference names, and the scan
  // found nowhere. (Files often list objects that nothing names; those are not counted.)
  std::uint64_t lostObjectCount = 0;
  StartxrefState startxref = StartxrefState::kIntact;
  TrailerState trailer = TrailerState::kIntact;
  PageTreeState pageTree = PageTreeState::kIntact;
  // The file ends without "%%EOF" after its last object, or with an object still open.
  bool truncated = false;
  std::optional<std::int64_t> openObjectNumber;  // the object still open at the end
  std::uint64_t openObjectOffset = 0;            // where its header starts
  EncryptionState encryption = EncryptionState::kNone;

  // Nothing above is wrong. Encryption is not damage, nor are bytes before a whole header.
  bool Intact() const {
    return (header == HeaderState::kIntact || header == HeaderState::kAfterJunk) &&
           xref == XrefState::kIntact && lostObjectCount == 0 &&
           startxref == StartxrefState::kIntact && trailer == TrailerState::kIntact &&
           pageTree == PageTreeState::kIntact && !truncated &&
           encryption != EncryptionState::kKeyLost;
  }
};

// A run of positions in the old page tree, from 1, both ends included.
struct PageRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  bool operator==(const PageRange&) const = default;
};

// What the scan and the rebuild found.
struct FoundCounts {
  std::uint64_t objects = 0;          // versions of objects located, packed ones included
  std::uint64_t versionsDropped = 0;  // older versions that a later update replaced
  std::uint64_t pagesInOldTree = 0;   // leaves the old page tree reaches, or its /Count if more
  // Pages the new page tree lists; none after a check, which builds no tree.
  std::optional<std::uint64_t> pagesRecovered;
  // Positions of the old tree's pages that the copy does not list (a kid that was lost counts
  // as a page); empty after a check.
  std::vector<PageRange> lostPages;
};

// A mend of the copy with where the mended object's header starts in the source; no offset for
// an object that was packed in an object stream.
struct StreamMendFound {
  std::int64_t number = 0;
  StreamMend mend = StreamMend::kTrueLength;
  std::optional<std::uint64_t> offset;
};
struct ObjectMendFound {
  std::int64_t number = 0;
  ObjectMendKind kind = ObjectMendKind::kValueCut;
  std::int64_t target = 0;
  std::optional<std::uint64_t> offset;
};

struct MendsFound {
  std::vector<StreamMendFound> streams;
  std::vector<ObjectMendFound> objects;
  // Pages listed with part of their content: a content stream cut, emptied or taken out.
  std::vector<std::int64_t> pagesKeptInPart;
};

// Everything a job leaves about itself, for callers that act on it rather than show it.
struct RepairOutcome {
  RepairStatus status = RepairStatus::kStopped;
  // For a job that ended without a copy: the file the failure concerns (the source or the
  // copy; empty when neither, as for a missing temporary folder) and the system's reason.
  std::string failurePath;
  std::string reason;
  std::string sourcePath;
  std::string outputPath;  // the copy written; empty when none
  std::uint64_t sourceBytes = 0;
  std::uint64_t outputBytes = 0;
  // Present once the scan ran to its end.
  std::optional<SourceFindings> source;
  FoundCounts found;
  MendsFound mended;
};

}  // namespace tarnwick
