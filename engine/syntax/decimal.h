#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarnwick {

// The value of a run of source bytes read as a base-10 number the way the C library's strtol
// reads it: leading white space, an optional sign, digits up to the first other byte. No
// digits give 0; values outside 32 bits saturate. Only the first 1024 bytes are looked at.
std::int32_t ParseDecimal(const std::uint8_t* bytes, std::size_t count);

// Decimal digits of `value`, no sign, no padding.
std::string FormatDecimal(std::uint64_t value);

}  // namespace tarnwick
