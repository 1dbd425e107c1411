#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "scan_results.h"
#include "source_reader.h"
#include "standard_security.h"

namespace tarnwick {

// The /Encrypt and /ID entries that the repaired trailer carries: the trailers' own, unless no
// usable trailer was found and cross-reference streams stand in, each entry from the newest one
// that has it.
struct TrailerProtection {
  bool encrypted = false;
  std::int32_t encryptNumber = 0;
  bool identified = false;
  std::int64_t identifierAt = 0;  // where the search for the /ID array starts
};
TrailerProtection ProtectionInForce(const ScanResults& results);

// The security handler of an encrypted source when one of `passwords` opens it. The /Encrypt
// dictionary is the newest object of its number that stands in the source itself; the /ID is
// the one the repaired trailer will carry, so that readers derive the same key from the copy.
std::optional<StandardSecurity> UnlockSource(SourceReader& source, const ScanResults& results,
                                             const TrailerProtection& protection,
                                             std::span<const std::string> passwords);

}  // namespace tarnwick
