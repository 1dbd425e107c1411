// The standard security handler as readers implement it: the file key from a password, checked
// against the document's /U (or /O) value, and the keys of each object from it.
#include "standard_security.h"

#include <algorithm>

#include "pdf_strings.h"

namespace tarnwick {

namespace {

using crypto::Bytes;
using crypto::Digest;
using Span = std::span<const std::uint8_t>;

// What a password shorter than 32 bytes is filled up with.
constexpr std::uint8_t kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41,
                                       0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
                                       0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80,
                                       0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};
constexpr std::uint8_t kNoMetadataMarker[4] = {0xFF, 0xFF, 0xFF, 0xFF};
constexpr std::uint8_t kAesSalt[4] = {'s', 'A', 'l', 'T'};
constexpr std::size_t kAesBlock = 16;
// Revisions 5 and 6 read at most this much of a password.
constexpr std::size_t kLongestPassword = 127;

Span BytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool SameBytes(Span a, Span b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

Bytes PaddedPassword(Span password) {
  Bytes padded(password.begin(), password.begin() + std::min<std::ptrdiff_t>(std::ssize(password), 32));
  padded.insert(padded.end(), kPadding, kPadding + (32 - padded.size()));
  return padded;
}

Bytes LittleEndian(std::uint64_t value, std::size_t count) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  return bytes;
}

Bytes XoredKey(Span key, int value) {
  Bytes xored(key.begin(), key.end());
  for (std::uint8_t& b : xored) b = static_cast<std::uint8_t>(b ^ value);
  return xored;
}

// Revisions 3 and 4 hash their MD5 fifty times more, over the key's length.
Bytes StrengthenedMd5(const EncryptionDictionary& d, Bytes hash) {
  if (d.revision >= 3) {
    for (int i = 0; i < 50; ++i) hash = crypto::Hash(Digest::kMd5, {Span(hash).first(d.keyLength)});
  }
  hash.resize(d.keyLength);
  return hash;
}

// The RC4-era file key for a padded user password.
Bytes Rc4EraFileKey(const EncryptionDictionary& d, Span paddedUser, Span firstId) {
  const Bytes permissions = LittleEndian(d.permissions, 4);
  const Span metadata = d.revision >= 4 && !d.encryptMetadata ? Span(kNoMetadataMarker) : Span();
  return StrengthenedMd5(d, crypto::Hash(Digest::kMd5, {paddedUser, d.owner, permissions,
                                                        firstId, metadata}));
}

bool MatchesUserValue(const EncryptionDictionary& d, Span key, Span firstId) {
  if (d.revision == 2) return SameBytes(crypto::Rc4(key, kPadding), d.user);
  Bytes value = crypto::Rc4(key, crypto::Hash(Digest::kMd5, {kPadding, firstId}));
  for (int i = 1; i <= 19; ++i) value = crypto::Rc4(XoredKey(key, i), value);
  return SameBytes(value, Span(d.user).first(16));
}

// The user password that the owner password unlocks: /O is the padded user password encrypted
// with a key made from the owner password.
Bytes UserPasswordFromOwner(const EncryptionDictionary& d, Span ownerPassword) {
  const Bytes key =
      StrengthenedMd5(d, crypto::Hash(Digest::kMd5, {PaddedPassword(ownerPassword)}));
  if (d.revision == 2) return crypto::Rc4(key, d.owner);
  Bytes user = d.owner;
  for (int i = 19; i >= 0; --i) user = crypto::Rc4(XoredKey(key, i), user);
  return user;
}

std::optional<Bytes> Rc4EraKey(const EncryptionDictionary& d, Span firstId, Span password) {
  for (Bytes padded : {PaddedPassword(password),
                       PaddedPassword(UserPasswordFromOwner(d, password))}) {
    Bytes key = Rc4EraFileKey(d, padded, firstId);
    crypto::Wipe(padded);
    if (MatchesUserValue(d, key, firstId)) return key;
    crypto::Wipe(key);
  }
  return std::nullopt;
}

// The password hash of revisions 5 (one SHA-256) and 6 (rounds of AES and SHA-2 that must be
// run at least 64 times).
Bytes PasswordHash(int revision, Span password, Span salt, Span userData) {
  Bytes k = crypto::Hash(Digest::kSha256, {password, salt, userData});
  if (revision == 5) return k;
  for (int round = 1;; ++round) {
    Bytes repeated;
    repeated.reserve(64 * (password.size() + k.size() + userData.size()));
    for (int i = 0; i < 64; ++i) {
      repeated.insert(repeated.end(), password.begin(), password.end());
      repeated.insert(repeated.end(), k.begin(), k.end());
      repeated.insert(repeated.end(), userData.begin(), userData.end());
    }
    std::optional<Bytes> e =
        crypto::AesCbcEncrypt(Span(k).first(16), Span(k).subspan(16, 16), repeated);
    crypto::Wipe(repeated);
    if (!e) return {};
    unsigned sum = 0;
    for (std::size_t i = 0; i < 16; ++i) sum += (*e)[i];
    static constexpr Digest kNext[3] = {Digest::kSha256, Digest::kSha384, Digest::kSha512};
    crypto::Wipe(k);
    k = crypto::Hash(kNext[sum % 3], {*e});
    const int last = e->back();
    crypto::Wipe(*e);
    if (round >= 64 && last <= round - 32) break;
  }
  k.resize(32);
  return k;
}

std::optional<Bytes> AesEraKey(const EncryptionDictionary& d, Span password) {
  password = password.first(std::min(password.size(), kLongestPassword));
  const Span user(d.user);
  const Span owner(d.owner);
  static constexpr std::uint8_t kZeroIv[kAesBlock] = {};
  auto unlocked = [&](Span value, Span userData, Span encryptedKey) -> std::optional<Bytes> {
    if (!SameBytes(PasswordHash(d.revision, password, value.subspan(32, 8), userData),
                   value.first(32))) {
      return std::nullopt;
    }
    Bytes intermediate = PasswordHash(d.revision, password, value.subspan(40, 8), userData);
    std::optional<Bytes> key = crypto::AesCbcDecrypt(intermediate, kZeroIv, encryptedKey);
    crypto::Wipe(intermediate);
    return key;
  };
  if (auto key = unlocked(user, {}, d.userKey)) return key;
  return unlocked(owner, user.first(48), d.ownerKey);
}

std::optional<Bytes> StringOf(SourceReader& reader, const PdfDictionary& dictionary,
                              std::string_view key, std::size_t minimum, std::size_t kept) {
  const PdfValue* value = dictionary.Find(key);
  if (!value || value->kind != PdfValue::Kind::kString) return std::nullopt;
  Bytes bytes = StringBytes(
      reader.ReadVector(value->begin, static_cast<std::size_t>(value->end - value->begin)));
  if (bytes.size() < minimum) return std::nullopt;
  bytes.resize(kept);
  return bytes;
}

std::optional<std::int64_t> IntegerOf(const PdfDictionary& dictionary, std::string_view key) {
  const PdfValue* value = dictionary.Find(key);
  if (!value || value->kind != PdfValue::Kind::kInteger) return std::nullopt;
  return value->integer;
}

// The method of the crypt filter that /StmF or /StrF names; Identity when the entry is missing.
std::optional<CryptMethod> CryptFilterMethod(PdfSyntax& syntax, const PdfDictionary& dictionary,
                                             std::string_view key) {
  const PdfValue* name = dictionary.Find(key);
  if (!name || name->IsName("Identity")) return CryptMethod::kIdentity;
  const PdfValue* filters = dictionary.Find("CF");
  if (name->kind != PdfValue::Kind::kName || !filters ||
      filters->kind != PdfValue::Kind::kDictionary) {
    return std::nullopt;
  }
  const std::optional<PdfDictionary> named = syntax.ReadDictionary(filters->begin);
  const PdfValue* filter = named ? named->Find(name->name) : nullptr;
  if (!filter || filter->kind != PdfValue::Kind::kDictionary) return std::nullopt;
  const std::optional<PdfDictionary> entries = syntax.ReadDictionary(filter->begin);
  const PdfValue* method = entries ? entries->Find("CFM") : nullptr;
  if (!method) return std::nullopt;
  if (method->IsName("V2")) return CryptMethod::kRc4;
  if (method->IsName("AESV2")) return CryptMethod::kAes128;
  if (method->IsName("AESV3")) return CryptMethod::kAes256;
  return std::nullopt;
}

}  // namespace

std::optional<EncryptionDictionary> ReadEncryptionDictionary(PdfSyntax& syntax,
                                                             SourceReader& reader,
                                                             const PdfDictionary& dictionary) {
  const PdfValue* filter = dictionary.Find("Filter");
  if (!filter || !filter->IsName("Standard")) return std::nullopt;
  EncryptionDictionary d;
  d.version = static_cast<int>(IntegerOf(dictionary, "V").value_or(0));
  d.revision = static_cast<int>(IntegerOf(dictionary, "R").value_or(0));
  const bool aesEra = d.version == 5;
  const bool knownRevision = aesEra ? d.revision == 5 || d.revision == 6
                                    : d.revision >= 2 && d.revision <= 4;
  if (!knownRevision || (d.version != 1 && d.version != 2 && d.version != 4 && !aesEra)) {
    return std::nullopt;
  }
  if (d.version == 2) {
    const std::int64_t bits = IntegerOf(dictionary, "Length").value_or(40);
    if (bits < 40 || bits > 128 || bits % 8 != 0) return std::nullopt;
    d.keyLength = static_cast<std::size_t>(bits / 8);
  } else if (d.version == 4) {
    d.keyLength = 16;
  } else if (aesEra) {
    d.keyLength = 32;
  }

  const std::size_t valueLength = aesEra ? 48 : 32;
  auto owner = StringOf(reader, dictionary, "O", valueLength, valueLength);
  auto user = StringOf(reader, dictionary, "U", valueLength, valueLength);
  const std::optional<std::int64_t> permissions = IntegerOf(dictionary, "P");
  if (!owner || !user || !permissions) return std::nullopt;
  d.owner = std::move(*owner);
  d.user = std::move(*user);
  d.permissions = static_cast<std::uint32_t>(*permissions);
  if (aesEra) {
    auto ownerKey = StringOf(reader, dictionary, "OE", 32, 32);
    auto userKey = StringOf(reader, dictionary, "UE", 32, 32);
    if (!ownerKey || !userKey) return std::nullopt;
    d.ownerKey = std::move(*ownerKey);
    d.userKey = std::move(*userKey);
  }
  if (const PdfValue* metadata = dictionary.Find("EncryptMetadata");
      metadata && metadata->kind == PdfValue::Kind::kBoolean) {
    d.encryptMetadata = metadata->integer != 0;
  }
  if (d.version >= 4) {
    const auto streams = CryptFilterMethod(syntax, dictionary, "StmF");
    const auto strings = CryptFilterMethod(syntax, dictionary, "StrF");
    if (!streams || !strings) return std::nullopt;
    // AES-256 filters belong to version 5 and only to it.
    for (const CryptMethod method : {*streams, *strings}) {
      if (method != CryptMethod::kIdentity && (method == CryptMethod::kAes256) != aesEra) {
        return std::nullopt;
      }
    }
    d.streams = *streams;
    d.strings = *strings;
  }
  return d;
}

std::optional<StandardSecurity> StandardSecurity::Unlock(const EncryptionDictionary& dictionary,
                                                         std::span<const std::uint8_t> firstId,
                                                         std::string_view password) {
  std::optional<Bytes> key = dictionary.version == 5
                                 ? AesEraKey(dictionary, BytesOf(password))
                                 : Rc4EraKey(dictionary, firstId, BytesOf(password));
  if (!key || key->size() != dictionary.keyLength) return std::nullopt;
  return StandardSecurity(std::move(*key), dictionary.streams, dictionary.strings,
                          dictionary.revision < 4 || dictionary.encryptMetadata);
}

Bytes StandardSecurity::ObjectKey(std::int64_t number, std::uint16_t generation,
                                  CryptMethod method) const {
  if (method == CryptMethod::kAes256) return fileKey_;
  const Bytes object = LittleEndian(static_cast<std::uint64_t>(number), 3);
  const Bytes generationBytes = LittleEndian(generation, 2);
  const Span salt = method == CryptMethod::kAes128 ? Span(kAesSalt) : Span();
  Bytes key = crypto::Hash(Digest::kMd5, {fileKey_, object, generationBytes, salt});
  key.resize(std::min<std::size_t>(fileKey_.size() + 5, 16));
  return key;
}

std::optional<Bytes> StandardSecurity::DecryptStream(std::int64_t number,
                                                     std::uint16_t generation,
                                                     std::span<const std::uint8_t> data) const {
  if (streams_ == CryptMethod::kIdentity) return Bytes(data.begin(), data.end());
  Bytes key = ObjectKey(number, generation, streams_);
  if (streams_ == CryptMethod::kRc4) {
    Bytes plain = crypto::Rc4(key, data);
    crypto::Wipe(key);
    return plain;
  }
  if (data.size() < kAesBlock) return std::nullopt;
  // Bytes past the last whole block are what damage or a producer's slip left; readers drop them.
  const Span blocks = data.subspan(kAesBlock, (data.size() - kAesBlock) / kAesBlock * kAesBlock);
  std::optional<Bytes> plain = crypto::AesCbcDecrypt(key, data.first(kAesBlock), blocks);
  crypto::Wipe(key);
  if (!plain || plain->empty()) return plain;
  // The padding: n bytes of value n, 1 to 16. Data without it is taken whole.
  const std::uint8_t pad = plain->back();
  if (pad >= 1 && pad <= kAesBlock && pad <= plain->size() &&
      std::all_of(plain->end() - pad, plain->end(), [pad](std::uint8_t b) { return b == pad; })) {
    plain->resize(plain->size() - pad);
  }
  return plain;
}

Bytes StandardSecurity::EncryptString(std::int64_t number, std::uint16_t generation,
                                      std::span<const std::uint8_t> plain) const {
  return Encrypt(strings_, number, generation, plain);
}

Bytes StandardSecurity::EncryptStream(std::int64_t number, std::uint16_t generation,
                                      std::span<const std::uint8_t> plain) const {
  return Encrypt(streams_, number, generation, plain);
}

Bytes StandardSecurity::Encrypt(CryptMethod method, std::int64_t number,
                                std::uint16_t generation,
                                std::span<const std::uint8_t> plain) const {
  if (method == CryptMethod::kIdentity) return Bytes(plain.begin(), plain.end());
  Bytes key = ObjectKey(number, generation, method);
  if (method == CryptMethod::kRc4) {
    Bytes encrypted = crypto::Rc4(key, plain);
    crypto::Wipe(key);
    return encrypted;
  }
  Bytes padded(plain.begin(), plain.end());
  const std::size_t pad = kAesBlock - plain.size() % kAesBlock;
  padded.insert(padded.end(), pad, static_cast<std::uint8_t>(pad));
  Bytes out(kAesBlock);
  crypto::RandomBytes(out);
  const std::optional<Bytes> encrypted = crypto::AesCbcEncrypt(key, out, padded);
  crypto::Wipe(key);
  crypto::Wipe(padded);
  if (encrypted) out.insert(out.end(), encrypted->begin(), encrypted->end());
  return out;
}

}  // namespace tarnwick
