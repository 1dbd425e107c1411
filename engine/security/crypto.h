#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarnwick::crypto {

// The cryptography that encrypted documents need, all of it from libgcrypt: nothing here is
// written by hand, and nothing else in the engine calls the library.

using Bytes = std::vector<std::uint8_t>;

enum class Digest { kMd5, kSha256, kSha384, kSha512 };

// The digest of the parts, one after another.
Bytes Hash(Digest digest, std::initializer_list<std::span<const std::uint8_t>> parts);

// ARCFOUR over `data` with `key` (5 to 16 bytes); encrypting and decrypting are the same.
Bytes Rc4(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data);

// AES in CBC mode without padding, with a key of 16 or 32 bytes; `data` must be a whole number of
// 16-byte blocks. Nothing when the library refuses the key or the data.
std::optional<Bytes> AesCbcEncrypt(std::span<const std::uint8_t> key,
                                   std::span<const std::uint8_t> iv,
                                   std::span<const std::uint8_t> data);
std::optional<Bytes> AesCbcDecrypt(std::span<const std::uint8_t> key,
                                   std::span<const std::uint8_t> iv,
                                   std::span<const std::uint8_t> data);

// Fills `out` with unpredictable bytes for an initialisation vector: the library's nonce
// generator, which its random source seeds, and which costs a fraction of a strong random read
// per string.
void RandomBytes(std::span<std::uint8_t> out);

// Overwrites a secret before its memory is given back.
void Wipe(Bytes& secret);

}  // namespace tarnwick::crypto
