#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// The hidden name under which a copy is written until it is complete: the writing process, a
// counter and a clock stamp keep names of concurrent writers apart.
inline std::string PartFileName(unsigned long process, unsigned counter, std::uint64_t stamp) {
  char name[64];
  std::snprintf(name, sizeof name, ".tarnwick-%lu-%u-%llx.part", process, counter,
                static_cast<unsigned long long>(stamp & 0xFFFFFF));
  return name;
}

// The process that wrote a part file of that pattern; nothing for any other name.
inline std::optional<unsigned long> PartFileProcess(std::string_view name) {
  constexpr std::string_view kPrefix = ".tarnwick-";
  constexpr std::string_view kSuffix = ".part";
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return std::nullopt;
  const std::string_view rest = name.substr(kPrefix.size());
  unsigned long process = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), process);
  if (error != std::errc() || end == rest.data() || *end != '-') return std::nullopt;
  return process;
}

}  // namespace tarnwick
