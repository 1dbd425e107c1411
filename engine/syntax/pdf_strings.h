#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace tarnwick {

// The bytes a string token stands for (its delimiters included in `token`): a literal string's
// escapes and line ends as readers take them, a hexadecimal string's digits in pairs, a missing
// last digit taken as 0.
std::vector<std::uint8_t> StringBytes(std::span<const std::uint8_t> token);

// The text of an object with each of its strings replaced by `transform` of the string's bytes,
// written as a hexadecimal string; everything else stays as it stands. The text must read as
// whole values, so that every string in it is closed.
std::vector<std::uint8_t> TransformStrings(
    std::span<const std::uint8_t> object,
    const std::function<std::vector<std::uint8_t>(std::span<const std::uint8_t>)>& transform);

}  // namespace tarnwick
