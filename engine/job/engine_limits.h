#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The bounds the engine keeps to whatever a source says. A repair should need no more than a
// fixed 64 MiB and a few times the source's size, however hostile the file; every figure below
// is chosen so that its worst case stays within that, or (for the step budgets) so that time
// stays in proportion to the file. Values that a file claims (a row width, an object count, a
// nesting depth) are checked against these before anything is sized by them.
namespace tarnwick::limits {

// --- Decoding ---

// One stream decoded at a time, for an object stream or to check and mend a stream. Its decoded
// bytes and a readable copy are held together (then the copy and its deflated form; an
// encrypted stream's plain text only while it decodes), so a few of these stay inside the fixed
// share. Streams that decode to more are copied as they stand.
inline constexpr std::size_t kMaxDecodedStreamBytes = 16 << 20;
// All of one job's decoding: this much and a multiple of the source's size, so that a file of
// compressed bombs costs no more time than a few passes over a large file.
inline constexpr std::uint64_t kDecodeBudgetFloor = 256 << 20;
inline constexpr std::uint64_t kDecodeBudgetPerSourceByte = 8;
// Predictor rows wider than this belong to no stream a producer writes, and no more colours
// than this per pixel either; such parameters are refused. Rows are undone in place, so even
// the widest allowed costs no memory of its own.
inline constexpr std::int64_t kMaxColumns = 1 << 24;
inline constexpr std::int64_t kMaxColors = 64;

// --- Object streams ---

// The text of the objects unpacked from object streams is held for the whole job. A stream may
// inflate to a thousand times its size, while real documents unpack to less than twice the
// source's; past this much the rest stay packed.
inline constexpr std::size_t kUnpackedBytesFloor = 16 << 20;
inline constexpr std::size_t kUnpackedBytesPerSourceByte = 2;
inline constexpr std::size_t kMaxUnpackedBytes = 256 << 20;
// Each unpacked object costs some 70 bytes of tables however small it is: a compressed stream of
// tiny objects could otherwise cost far more than its text. Past this many the rest stay packed.
inline constexpr std::size_t kUnpackedObjectsFloor = 128 << 10;
inline constexpr std::size_t kSourceBytesPerUnpackedObject = 8;
inline constexpr std::size_t kMaxUnpackedObjects = 4 << 20;

inline std::size_t UnpackedBytesAllowed(std::uint64_t sourceLength) {
  return static_cast<std::size_t>(std::min<std::uint64_t>(
      kMaxUnpackedBytes, kUnpackedBytesFloor + kUnpackedBytesPerSourceByte * sourceLength));
}
inline std::size_t UnpackedObjectsAllowed(std::uint64_t sourceLength) {
  return static_cast<std::size_t>(std::min<std::uint64_t>(
      kMaxUnpackedObjects, kUnpackedObjectsFloor + sourceLength / kSourceBytesPerUnpackedObject));
}

// --- Syntax ---

// No real name is this long.
inline constexpr std::size_t kMaxNameLength = 4096;
// No dictionary or array that the engine keeps the items of has this many.
inline constexpr std::size_t kMaxKeptItems = 1 << 16;
// Mending reads an object's value from this many bytes first, and reads up to the larger count
// only for a value that runs on: a value longer than that (an array of a million numbers) is
// copied as it stands rather than held whole in memory to be written anew.
inline constexpr std::size_t kMendWindowBytes = 4096;
inline constexpr std::size_t kMaxMendedValueBytes = 1 << 20;
// Mending takes containers nested deeper than strict readers accept for damage.
inline constexpr std::size_t kMaxMendedDepth = 500;
// Containers nested deeper are taken as hostile: each level costs a stack frame.
inline constexpr int kMaxSyntaxDepth = 32;

// --- Trailers ---

// The trailer walks find string ends in one pass that tracks every '(' (24 bytes each); past
// this many the pass is given up and strings are scanned one by one, slower but in no memory.
inline constexpr std::size_t kMaxTrackedParentheses = 1 << 20;
// Steps that all fresh trailer walks of one file may take together, beyond the ones a kept path
// answers: enough for every real trailer, linear in the file for the hostile ones.
inline constexpr std::int64_t kTrailerStepsFloor = 1 << 20;
inline constexpr std::int64_t kTrailerStepsPerSourceByte = 8;

// --- Security ---

// A source whose trailers naming /Encrypt were lost is searched for its security dictionary
// among objects no larger than this: the largest such dictionary, with crypt filters and
// producers' own entries, stays well under it.
inline constexpr std::uint64_t kMaxSecurityDictionaryBytes = 16 << 10;
// That search reads no more bytes than the source holds and this many besides (objects whose
// headers overlap may share bytes), so that it costs at most another pass over the file.
inline constexpr std::uint64_t kSecurityLookBytesFloor = 1 << 20;
// A dictionary so found is taken only when the source's compressed streams do not decode as they
// stand: this many of them are tried, each up to this many decoded bytes, which encrypted data
// never reaches.
inline constexpr std::size_t kPlainStreamProbes = 8;
inline constexpr std::size_t kPlainProbeBytes = 64 << 10;

// --- Cross-reference data ---

// Checking the source's own cross-reference data follows /Prev from section to section, each
// read once; no real file has this many updates.
inline constexpr std::size_t kMaxXrefSections = 4096;
// Each entry read is kept (24 bytes) until the sections are compared with the scan. A table
// spends 20 bytes of the file on an entry; a hostile one may spend 6, or a stream one, so the
// entries kept are bounded by this many and one per eight bytes of the source; past it the data
// counts as unreadable.
inline constexpr std::uint64_t kXrefEntriesFloor = 1 << 20;
inline constexpr std::uint64_t kSourceBytesPerXrefEntry = 8;

// --- Page tree ---

// Deeper trees are hostile, or loops; the walk passes over what lies below.
inline constexpr int kMaxTreeLevels = 64;
// Attributes are inherited from no more ancestors than this.
inline constexpr int kMaxAncestors = 32;
// Large values inherited by very many pages could multiply the output; this much and twice the
// source's size is what the pages may be given in all.
inline constexpr std::size_t kInheritedBytesFloor = 64 << 20;
inline constexpr std::size_t kInheritedBytesPerSourceByte = 2;

}  // namespace tarnwick::limits
