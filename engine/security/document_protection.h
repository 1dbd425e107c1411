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
  // Set when the trailers that named /Encrypt were lost and the copy names a security
  // dictionary found among the objects: it then carries a new /ID, which revisions 5 and 6 do
  // not derive their key from.
  bool freshIdentifier = false;
  // Set when that dictionary's key depends on the /ID that was lost with the trailer: the copy
  // stays marked encrypted, but no password opens it any more.
  bool keyLost = false;
  // Whether the security dictionary defines crypt filters (version 4 on), so that a stream may
  // name the Identity filter and stand unencrypted, which the copy needs where it writes a stream
  // without knowing the key.
  bool cryptFilters = false;
};
TrailerProtection ProtectionInForce(const ScanResults& results);

// A standard security dictionary standing as an object of the source, for a source whose
// trailers that named it were lost: the newest one that reads whole. Looked for only in objects
// no larger than a security dictionary gets, and in no more bytes than the source holds, so that
// the search costs no more than another pass over the file.
struct StandaloneEncryption {
  std::int32_t number = 0;
  int revision = 0;
};
std::optional<StandaloneEncryption> FindStandaloneEncryption(SourceReader& source,
                                                            const ScanResults& results);
// The protection of a source whose trailers named no /Encrypt, when the source holds a security
// dictionary all the same (see FindStandaloneEncryption).
void TakeStandaloneEncryption(const StandaloneEncryption& found, TrailerProtection& protection);

// The security handler of an encrypted source when one of `passwords` opens it. The /Encrypt
// dictionary is the newest object of its number that stands in the source itself; the /ID is
// the one the repaired trailer will carry, so that readers derive the same key from the copy.
// The /Encrypt dictionary that `protection` names: the newest object of its number that stands
// in the source itself, when it reads as the standard handler's.
std::optional<EncryptionDictionary> SourceEncryption(SourceReader& source,
                                                     const ScanResults& results,
                                                     const TrailerProtection& protection);

std::optional<StandardSecurity> UnlockSource(SourceReader& source, const ScanResults& results,
                                             const TrailerProtection& protection,
                                             std::span<const std::string> passwords);

}  // namespace tarnwick
