// Internal to the driver: keys for protected files.
//
// SQLCipher derives a file's key from the owner password and the file's salt
// (its first 16 bytes) with PBKDF2-HMAC-SHA1, 64,000 iterations, at every open:
// about 40 ms. The system opens and closes its file on every call, so the
// driver derives each (password, salt) pair once per process and hands
// SQLCipher the derived key in its raw form with the salt ("x'key salt'"),
// which SQLCipher takes without deriving. The file on disk is the same as one
// keyed with the password directly.
//
// The derivation uses the PBKDF2 of the OpenSSL library that SQLCipher itself
// is built on, found in the process at run time (twiqrt does not link it
// directly). Should it be missing, KeySpec() returns the password itself and
// SQLCipher derives the key as usual: slower, never different.
//
// Thread-safe: the cache is process-wide state guarded by a mutex.

#ifndef RUNTIME_KEYFILE_CIPHER_KEY_H_
#define RUNTIME_KEYFILE_CIPHER_KEY_H_

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/keyfile/status.h"

namespace rt::keyfile {

inline constexpr std::size_t kSaltLength = 16;
using Salt = std::array<std::byte, kSaltLength>;

// The key text to give sqlite3_key() for `password` on a file with `salt`.
std::string KeySpec(std::string_view password, const Salt& salt);

// A fresh random salt for a new file.
Status NewSalt(Salt* salt);

// The SQLCipher settings every protected connection uses, set after the key.
inline constexpr int kCipherPageSize = 4096;

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_CIPHER_KEY_H_
