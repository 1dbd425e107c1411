#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tarnwick {

// The places in a block of the source where one of the scan's keywords may start: the byte
// there and the one after it are the first two bytes of a keyword ("/Page", "Catalog", "obj",
// "<</DecodeParms", "trailer", "Kids", and the stream types "ObjStm" by its "jS" and "XRef").
// Most of a file holds none, so the keyword rules run only where this finds a pair. `next` is
// the byte after the block, or -1 at the end of the source. Offsets into the block are appended
// to `out` in ascending order.
void FindKeywordCandidates(std::span<const std::uint8_t> block, int next,
                           std::vector<std::uint32_t>& out);

// The same answer by two means: one byte at a time through a table, and sixteen bytes at a time
// with the compiler's vector extension where there is one. The first is the reference that the
// second is tested against.
void FindKeywordCandidatesPortable(std::span<const std::uint8_t> block, int next,
                                   std::vector<std::uint32_t>& out);
#if defined(__GNUC__)
#define TARNWICK_VECTOR_KEYWORD_SEARCH 1
void FindKeywordCandidatesVector(std::span<const std::uint8_t> block, int next,
                                 std::vector<std::uint32_t>& out);
#endif

}  // namespace tarnwick
