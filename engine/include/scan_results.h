#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarnwick {

// Where a record's bytes lie and what becomes of it.
enum class RecordOrigin : std::uint8_t {
  kSource,        // a plain object of the source
  kUnpacked,      // an object of an object stream, in ScanResults::unpacked
  kObjectStream,  // an object stream that gave back objects; copied only when its encrypted
                  // source could not be opened
};

// How the objects packed in an encrypted source's object streams were read.
enum class PackedObjectAccess : std::uint8_t {
  kPlain,      // the source is not encrypted, or has no object stream
  kDecrypted,  // a password opened it: its object streams were decrypted and unpacked
  kProtected,  // nothing opened it: its object streams are copied as they stand
};

// One located object: its number as read (a signed 32-bit value widened with its sign), the
// first byte of its header (the number's), the `e` of the "endobj" that closes it (where that
// is missing, the first byte of the next header, or the end of the source), and the generation
// its header gives.
struct ObjectRecord {
  std::int64_t number = 0;
  std::uint64_t start = 0;
  std::uint64_t end = 0;
  RecordOrigin origin = RecordOrigin::kSource;
  std::uint16_t generation = 0;
};

// What a cross-reference stream's dictionary says in place of a trailer. Numbers are 0 when the
// entry is missing; `idArray` is the source offset of the /ID array, 0 when there is none.
struct XrefStreamRecord {
  std::uint64_t offset = 0;
  std::int32_t size = 0;
  std::int32_t root = 0;
  bool hasEncrypt = false;
  std::int32_t encrypt = 0;
  std::int64_t idArray = 0;
  std::int64_t info = 0;
  std::uint64_t end = 0;  // where its object ends, as an object record's end
};

struct TrailerRecord {
  std::uint64_t offset = 0;
  std::int32_t size = 0;
  std::int32_t root = 0;
  std::int32_t encrypt = 0;
  // The /Info number of a record made from a cross-reference stream; a trailer dictionary's is
  // read when the trailer is written.
  std::int64_t info = 0;
};

// One reference of a Kids array: the `R` it was read at and the object number before it. Only
// references whose number can name an object are kept.
struct KidsReference {
  std::int64_t position = 0;
  std::int64_t number = 0;
};

// A Kids array as a range of `kidsReferences`. Arrays that overlap (a second "Kids" inside an
// unterminated array) share the references of the first, so the list stays as large as the file.
struct KidsArray {
  std::size_t first = 0;
  std::size_t count = 0;
};

// The scan looks for keywords from this offset on: the source's own header is never scanned.
inline constexpr std::int64_t kScanStart = 8;

// What the scan finds in one source; read-only once the scan is over. Lists are kept in the
// order things were found; the "newest first" orders that the rebuild uses are reverse walks.
struct ScanResults {
  std::vector<ObjectRecord> objects;  // in order found; table order is the reverse
  // The objects unpacked from object streams, each written out as "\nN 0 obj\n", its bytes and
  // "\nendobj\n", as if it had stood in the source that way.
  std::vector<std::uint8_t> unpacked;
  std::vector<XrefStreamRecord> xrefStreams;  // in order found
  std::size_t objectStreams = 0;              // met, whether they could be unpacked or not
  // The numbers of the object streams whose data decoded only with its CR LF pairs taken as LF.
  std::vector<std::int64_t> lineEndsUndone;
  PackedObjectAccess packedObjects = PackedObjectAccess::kPlain;
  std::vector<std::int64_t> pages;            // in order found
  std::int32_t catalogNumber = 0;

  // Only the last trailer is in force; a file may hold millions of "trailer" keywords, so the
  // others are counted, not kept.
  std::optional<TrailerRecord> trailer;
  std::size_t trailersFound = 0;
  bool trailerIncomplete = false;
  std::int32_t encryptionNumber = 0;
  bool encryptionSeen = false;
  bool identifierSeen = false;
  std::int64_t identifierKeyEnd = 0;  // the byte after the "ID" last matched in a trailer
  bool decodeParmsSeen = false;

  std::vector<KidsReference> kidsReferences;
  // Where each "Kids" keyword stands, ascending: in the source, and in `unpacked`. An object
  // without one in its bytes has no /Kids entry.
  std::vector<std::int64_t> kidsKeywords;
  std::vector<std::int64_t> unpackedKidsKeywords;
  std::vector<KidsArray> kidsArrays;  // in order found
  std::int64_t oldPagesNumber = 0;

  std::uint64_t sourceLength = 0;

  // False when the record's bytes hold no "Kids" keyword, so that it cannot be an inner node of
  // a page tree.
  bool MayHoldKids(const ObjectRecord& record) const;

};

}  // namespace tarnwick
