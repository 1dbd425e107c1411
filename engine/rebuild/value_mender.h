#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "rebuild_summary.h"

namespace tarnwick {

// What takes the place of a reference to an object that the copy does not hold.
struct ReferenceRepair {
  // Whether the copy holds an object of this number.
  std::function<bool(std::int64_t)> holds;
  // Whether it holds one whose value is a dictionary: what a font, an XObject or a content stream
  // must be.
  std::function<bool(std::int64_t)> holdsDictionary;
  // The objects that stand in for a lost font and a lost XObject.
  std::int64_t fontReplacement = 0;
  std::int64_t formReplacement = 0;
};

// A change to an entry of the object's own (outermost) dictionary: its value replaced, or, with
// no value, the entry left out. A replaced key that is missing is added after the "<<".
struct EntryEdit {
  std::string key;
  std::optional<std::string> value;
};

// The value of a copied object as a strict reader would take it.
struct MendedValue {
  enum class Verdict : std::uint8_t {
    kWhole,          // parses, and every reference resolves: copy it as it stands
    kMended,         // `text` is what parses of it, with its references resolved
    kNothingParses,  // no value at all: leave the object out
    kTooLarge,       // the value runs past the bytes given: copy it as it stands
  };
  Verdict verdict = Verdict::kWhole;
  std::string text;
  // Where "stream" follows the value, from the start of the bytes given; none when no stream.
  std::optional<std::size_t> streamKeyword;
  // Where the damage that cut the value, or the text after it, begins, from the start of the
  // bytes given; 0 when there is none.
  std::size_t damageAt = 0;
  std::vector<ObjectMend> mends;  // the object's number left for the caller to fill in
};

// Reads the value of an object, `bytes` being everything after its header's "obj" (all of it
// when `complete`, else only the first part). The value is written anew only where something
// is wrong: text after the damage is dropped and the arrays and dictionaries left open are
// closed, a dictionary entry that lost its value is left out, text after a complete value is
// dropped, and each reference to an object the copy does not hold is resolved by `repair`. The
// `edits` apply only to a value that is written anew.
// With `rewrite`, `text` holds the value with the edits applied also when it is whole.
MendedValue MendValue(std::span<const std::uint8_t> bytes, bool complete,
                      const ReferenceRepair& repair, const std::vector<EntryEdit>& edits = {},
                      bool rewrite = false);

// Whether a value begins in `bytes`, the first bytes after an object's header (`whole` when they
// are all of the object): false when its first token can begin no value, or there is none.
bool ValueStarts(std::span<const std::uint8_t> bytes, bool whole);

}  // namespace tarnwick
