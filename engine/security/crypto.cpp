#include "crypto.h"

#include <gcrypt.h>

namespace tarnwick::crypto {

namespace {

// The library wants its version checked once before any other call; the first caller does it,
// on whichever worker that is.
void InitialiseLibrary() {
  static const bool initialised = [] {
    gcry_check_version(nullptr);
    // Keys live in ordinary memory, wiped after use; a locked pool would need privileges.
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    return true;
  }();
  (void)initialised;
}

int Algorithm(Digest digest) {
  switch (digest) {
    case Digest::kMd5:
      return GCRY_MD_MD5;
    case Digest::kSha256:
      return GCRY_MD_SHA256;
    case Digest::kSha384:
      return GCRY_MD_SHA384;
    case Digest::kSha512:
      return GCRY_MD_SHA512;
  }
  return GCRY_MD_SHA256;
}

// One cipher handle, closed on every way out.
class Cipher {
 public:
  Cipher(int algorithm, int mode) {
    InitialiseLibrary();
    if (gcry_cipher_open(&handle_, algorithm, mode, 0) != 0) handle_ = nullptr;
  }
  ~Cipher() {
    if (handle_) gcry_cipher_close(handle_);
  }
  Cipher(const Cipher&) = delete;
  Cipher& operator=(const Cipher&) = delete;

  bool SetKey(std::span<const std::uint8_t> key) {
    return handle_ && gcry_cipher_setkey(handle_, key.data(), key.size()) == 0;
  }
  bool SetIv(std::span<const std::uint8_t> iv) {
    return gcry_cipher_setiv(handle_, iv.data(), iv.size()) == 0;
  }
  std::optional<Bytes> Apply(std::span<const std::uint8_t> data, bool encrypt) {
    Bytes out(data.size());
    const gcry_error_t error =
        encrypt ? gcry_cipher_encrypt(handle_, out.data(), out.size(), data.data(), data.size())
                : gcry_cipher_decrypt(handle_, out.data(), out.size(), data.data(), data.size());
    if (error != 0) return std::nullopt;
    return out;
  }

 private:
  gcry_cipher_hd_t handle_ = nullptr;
};

int AesAlgorithm(std::size_t keySize) {
  return keySize == 32 ? GCRY_CIPHER_AES256 : keySize == 16 ? GCRY_CIPHER_AES128 : 0;
}

std::optional<Bytes> AesCbc(std::span<const std::uint8_t> key, std::span<const std::uint8_t> iv,
                            std::span<const std::uint8_t> data, bool encrypt) {
  const int algorithm = AesAlgorithm(key.size());
  if (algorithm == 0 || iv.size() != 16 || data.size() % 16 != 0) return std::nullopt;
  Cipher cipher(algorithm, GCRY_CIPHER_MODE_CBC);
  if (!cipher.SetKey(key) || !cipher.SetIv(iv)) return std::nullopt;
  return cipher.Apply(data, encrypt);
}

}  // namespace

Bytes Hash(Digest digest, std::initializer_list<std::span<const std::uint8_t>> parts) {
  InitialiseLibrary();
  const int algorithm = Algorithm(digest);
  gcry_md_hd_t handle = nullptr;
  if (gcry_md_open(&handle, algorithm, 0) != 0) return {};
  for (const auto part : parts) gcry_md_write(handle, part.data(), part.size());
  const unsigned char* value = gcry_md_read(handle, algorithm);
  Bytes out(value, value + gcry_md_get_algo_dlen(algorithm));
  gcry_md_close(handle);
  return out;
}

Bytes Rc4(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data) {
  Cipher cipher(GCRY_CIPHER_ARCFOUR, GCRY_CIPHER_MODE_STREAM);
  if (!cipher.SetKey(key)) return {};
  return cipher.Apply(data, true).value_or(Bytes{});
}

std::optional<Bytes> AesCbcEncrypt(std::span<const std::uint8_t> key,
                                   std::span<const std::uint8_t> iv,
                                   std::span<const std::uint8_t> data) {
  return AesCbc(key, iv, data, true);
}

std::optional<Bytes> AesCbcDecrypt(std::span<const std::uint8_t> key,
                                   std::span<const std::uint8_t> iv,
                                   std::span<const std::uint8_t> data) {
  return AesCbc(key, iv, data, false);
}

void RandomBytes(std::span<std::uint8_t> out) {
  InitialiseLibrary();
  gcry_create_nonce(out.data(), out.size());
}

void Wipe(Bytes& secret) {
  // A volatile pointer keeps the stores from being dropped as dead.
  volatile std::uint8_t* bytes = secret.data();
  for (std::size_t i = 0; i < secret.size(); ++i) bytes[i] = 0;
  secret.clear();
}

}  // namespace tarnwick::crypto
