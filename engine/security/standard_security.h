#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "crypto.h"
#include "pdf_syntax.h"

namespace tarnwick {

// How a document's strings or streams are encrypted.
enum class CryptMethod : std::uint8_t { kIdentity, kRc4, kAes128, kAes256 };

// What an /Encrypt dictionary of the standard security handler says, for the versions and
// revisions that readers open: /V 1, 2, 4 and 5, /R 2 to 6.
struct EncryptionDictionary {
  int version = 0;
  int revision = 0;
  std::size_t keyLength = 5;  // bytes of the file key
  crypto::Bytes owner;        // /O
  crypto::Bytes user;         // /U
  crypto::Bytes ownerKey;     // /OE
  crypto::Bytes userKey;      // /UE
  std::uint32_t permissions = 0;
  bool encryptMetadata = true;
  CryptMethod streams = CryptMethod::kRc4;
  CryptMethod strings = CryptMethod::kRc4;
};

// The dictionary read through `syntax`; nothing when it names another handler, a version or
// revision this engine does not know, or lacks an entry the key needs.
std::optional<EncryptionDictionary> ReadEncryptionDictionary(PdfSyntax& syntax,
                                                             SourceReader& reader,
                                                             const PdfDictionary& dictionary);

// The standard security handler of one document, once a password opened it: the file key and
// what follows from it. The key is wiped when the handler goes.
class StandardSecurity {
 public:
  // The handler when `password` is the document's user password, or its owner password (from
  // which the user password is recovered as readers do). `firstId` is the first string of the
  // trailer's /ID, empty when there is none.
  static std::optional<StandardSecurity> Unlock(const EncryptionDictionary& dictionary,
                                                std::span<const std::uint8_t> firstId,
                                                std::string_view password);

  StandardSecurity(StandardSecurity&&) = default;
  StandardSecurity& operator=(StandardSecurity&&) = default;
  ~StandardSecurity() { crypto::Wipe(fileKey_); }

  // The plain data of a stream of object `number`, `generation`; nothing when it cannot be
  // decrypted (AES data too short or not whole blocks).
  std::optional<crypto::Bytes> DecryptStream(std::int64_t number, std::uint16_t generation,
                                             std::span<const std::uint8_t> data) const;
  // A string of object `number`, `generation` encrypted as the document's strings are; AES
  // strings get a fresh random initialisation vector.
  crypto::Bytes EncryptString(std::int64_t number, std::uint16_t generation,
                              std::span<const std::uint8_t> plain) const;
  // The data of a stream of object `number`, `generation` encrypted as the document's streams
  // are: what DecryptStream gives back. AES data gets a fresh random initialisation vector, and
  // even empty data a block of padding.
  crypto::Bytes EncryptStream(std::int64_t number, std::uint16_t generation,
                              std::span<const std::uint8_t> plain) const;
  // Whether the document's metadata streams are encrypted as its other streams are; from
  // revision 4 on a document may leave them plain.
  bool EncryptsMetadata() const { return encryptsMetadata_; }
  // Whether the document's streams are encrypted with AES, whose data comes in whole blocks.
  bool StreamsInBlocks() const {
    return streams_ == CryptMethod::kAes128 || streams_ == CryptMethod::kAes256;
  }

 private:
  StandardSecurity(crypto::Bytes fileKey, CryptMethod streams, CryptMethod strings,
                   bool encryptsMetadata)
      : fileKey_(std::move(fileKey)),
        streams_(streams),
        strings_(strings),
        encryptsMetadata_(encryptsMetadata) {}

  crypto::Bytes ObjectKey(std::int64_t number, std::uint16_t generation, CryptMethod method) const;
  crypto::Bytes Encrypt(CryptMethod method, std::int64_t number, std::uint16_t generation,
                        std::span<const std::uint8_t> plain) const;

  crypto::Bytes fileKey_;
  CryptMethod streams_;
  CryptMethod strings_;
  bool encryptsMetadata_;
};

}  // namespace tarnwick
