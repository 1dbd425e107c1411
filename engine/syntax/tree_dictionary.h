#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "source_reader.h"

namespace tarnwick {

// What the walk through the old page tree takes from a catalog or a tree node: the first /Pages
// entry when it is a reference, and the first /Kids entry when it is an array written in place,
// with the numbers of the references in it in their order (other items are passed over).
struct TreeDictionary {
  std::optional<std::int64_t> pages;
  std::optional<std::vector<std::int64_t>> kids;
};

// Reads the value of the object whose header starts at `start`. It must parse completely as a
// dictionary before `end`: names, numbers, true, false, null, references, literal and
// hexadecimal strings, arrays and dictionaries, nested to any depth, with white space and
// comments between them. Anything else (an unknown word, a brace, an unbalanced ')' or '>', a
// missing end) gives none. Keys are compared as written; a stream's data is not read.
std::optional<TreeDictionary> ReadTreeDictionary(SourceReader& reader, std::int64_t start,
                                                 std::int64_t end);

}  // namespace tarnwick
