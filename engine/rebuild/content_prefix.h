#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tarnwick {

// What to keep of a page's decoded content when its compressed data broke off. Data that stops
// decoding often decodes to garbage first, and one unbalanced parenthesis or stray byte would
// make readers drop the whole page; so every line holding a byte that no content stream holds
// there (a stray ")" or ">", a control byte outside a string, a string or inline image that never
// ends) is left out, the lines around it kept, and the text ends at its last line end outside
// arrays and dictionaries. Text without any line end is kept up to its last white space before
// the first such byte. Nothing when nothing is left.
std::vector<std::uint8_t> ReadableContent(std::span<const std::uint8_t> text);

// The text deflated as compress2 does it; a valid empty stream for empty text.
std::vector<std::uint8_t> Deflated(std::span<const std::uint8_t> text);

}  // namespace tarnwick
