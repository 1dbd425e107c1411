#pragma once

#include <cstdint>
#include <vector>

#include "source_reader.h"

namespace tarnwick {

// Which of `numbers` (sorted) a reference "N G R" names anywhere in `reader`, sorted: one pass
// over its bytes, so that asking about many numbers costs no more than asking about one.
std::vector<std::int64_t> NumbersReferenced(SourceReader& reader,
                                            const std::vector<std::int64_t>& numbers);

}  // namespace tarnwick
