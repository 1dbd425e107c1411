#pragma once

#include <cstdint>
#include <optional>

#include "source_reader.h"

namespace tarnwick {

// An object header "N G obj": the number (with at most one sign directly before its digits),
// white space, a generation of one to five digits up to 65535, white space, "obj". The byte
// before the number is white space or a delimiter, or the number opens the text.
struct ObjectHeader {
  std::int64_t start = 0;   // the number's first byte, its sign included
  std::int32_t number = 0;  // as ParseDecimal reads it
  std::uint16_t generation = 0;
};

// The header whose "obj" stands at `objKeyword`, read backwards from there; none when the bytes
// before that "obj" do not form one.
std::optional<ObjectHeader> HeaderEndingAt(SourceReader& reader, std::int64_t objKeyword);

// Whether an "obj" at `objKeyword` ends a header; cheap where no "obj" stands.
inline bool HeaderEndsAt(SourceReader& reader, std::int64_t objKeyword) {
  return reader.ByteAt(objKeyword) == 'o' && HeaderEndingAt(reader, objKeyword).has_value();
}

}  // namespace tarnwick
