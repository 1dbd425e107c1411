#pragma once

#include <cstdint>
#include <span>

namespace tarnwick {

// How much of a page's decoded content to keep when its compressed data broke off: up to the
// last line end that stands outside strings, arrays, dictionaries and inline images, before the
// first byte that no content stream holds there (a stray ")" or ">", a control byte outside a
// string). Data that stops decoding often decodes to garbage first, and one unbalanced
// parenthesis would make readers drop the whole page. Without such a line end, the last white
// space; nothing when there is neither.
std::span<const std::uint8_t> ReadableContentPrefix(std::span<const std::uint8_t> text);

}  // namespace tarnwick
