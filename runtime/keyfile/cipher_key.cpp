#include "runtime/keyfile/cipher_key.h"

#include <dlfcn.h>
#include <sys/random.h>

#include <cerrno>
#include <map>
#include <mutex>

namespace rt::keyfile {
namespace {

constexpr int kKdfIterations = 64000;   // SQLCipher 3's default.
constexpr std::size_t kKeyLength = 32;  // AES-256.
constexpr std::size_t kMaxCachedKeys = 64;

using Pbkdf2Fn = int (*)(const char* pass, int pass_len, const unsigned char* salt, int salt_len,
                         int iterations, int key_len, unsigned char* out);

// The process's PBKDF2, looked up once. SQLCipher has loaded the library.
Pbkdf2Fn FindPbkdf2() {
  static const Pbkdf2Fn fn = [] {
    for (const char* name : {"libcrypto.so.3", "libcrypto.so"}) {
      void* handle = dlopen(name, RTLD_NOW | RTLD_NOLOAD);
      if (handle == nullptr) continue;
      auto* symbol = reinterpret_cast<Pbkdf2Fn>(dlsym(handle, "PKCS5_PBKDF2_HMAC_SHA1"));
      dlclose(handle);  // RTLD_NOLOAD took a reference; the library stays loaded for SQLCipher.
      if (symbol != nullptr) return symbol;
    }
    return static_cast<Pbkdf2Fn>(nullptr);
  }();
  return fn;
}

// Process-wide cache of derived keys, by password and salt.
struct KeyCache {
  std::mutex mutex;
  std::map<std::string, std::string> key_texts;  // GUARDED_BY(mutex)
};

KeyCache& Cache() {
  static KeyCache* cache = new KeyCache;  // Never destroyed: used from any thread until exit.
  return *cache;
}

void AppendHex(std::string* out, const unsigned char* bytes, std::size_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < n; ++i) {
    *out += kDigits[bytes[i] >> 4];
    *out += kDigits[bytes[i] & 0xf];
  }
}

}  // namespace

std::string KeySpec(std::string_view password, const Salt& salt) {
  Pbkdf2Fn pbkdf2 = FindPbkdf2();
  if (pbkdf2 == nullptr) return std::string(password);
  std::string cache_key(password);
  cache_key.push_back('\0');
  cache_key.append(reinterpret_cast<const char*>(salt.data()), salt.size());
  KeyCache& cache = Cache();
  {
    std::lock_guard lock(cache.mutex);
    auto it = cache.key_texts.find(cache_key);
    if (it != cache.key_texts.end()) return it->second;
  }
  unsigned char key[kKeyLength];
  const auto* salt_bytes = reinterpret_cast<const unsigned char*>(salt.data());
  if (pbkdf2(password.data(), static_cast<int>(password.size()), salt_bytes,
             static_cast<int>(salt.size()), kKdfIterations, kKeyLength, key) != 1) {
    return std::string(password);
  }
  std::string key_text = "x'";
  AppendHex(&key_text, key, kKeyLength);
  AppendHex(&key_text, salt_bytes, salt.size());
  key_text += "'";
  std::lock_guard lock(cache.mutex);
  if (cache.key_texts.size() >= kMaxCachedKeys) cache.key_texts.clear();
  cache.key_texts.emplace(std::move(cache_key), key_text);
  return key_text;
}

Status NewSalt(Salt* salt) {
  std::size_t filled = 0;
  while (filled < salt->size()) {
    const ssize_t n = getrandom(salt->data() + filled, salt->size() - filled, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::Os(kDriverError, errno, "cannot draw a random salt");
    }
    filled += static_cast<std::size_t>(n);
  }
  return Status::Ok();
}

}  // namespace rt::keyfile
