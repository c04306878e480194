// Internal to the driver: open modes and their sharing between handles,
// threads and processes.
//
// A mode combines an access code (0 read, 1 write, 2 read/write) with a sharing
// code (00h or 10h deny all, 20h deny write, 30h deny read, 40h deny none): 22h
// is read/write with other writers denied, 42h read/write fully shared. An open
// succeeds when its access is not denied by any holder and its sharing does not
// deny any holder's access.
//
// Sharing is kept with open-file-description locks (F_OFD_SETLK) on a sidecar
// file "<database>.lock", never on the database itself: SQLite keeps POSIX
// locks on the database, and closing any other descriptor of it would drop
// them. Each ShareLock opens its own description, so two handles conflict even
// in one thread. Every holder keeps shared locks on the bytes that say what it
// does (reads, writes, denies reading, denies writing); an opener checks the
// bytes it must not find held while holding an exclusive "gate" byte, which
// makes the check and the taking of its own bytes one step. A remover unlinks
// the sidecar under the gate, and openers check under the gate that the file
// they locked is still the one at the path.
//
// Open file descriptions survive fork(), and with them their locks: a child
// would keep the parent's files locked for as long as it lives. A forked child
// therefore closes every ShareLock descriptor it inherited (the parent's locks
// stay as they are); the child's copies of open handles are unusable, as
// SQLite connections are across fork() anyway.
//
// Thread safety: a ShareLock is used by one thread at a time.

#ifndef RUNTIME_KEYFILE_SHARE_LOCK_H_
#define RUNTIME_KEYFILE_SHARE_LOCK_H_

#include <chrono>
#include <string>

#include "runtime/keyfile/status.h"

namespace rt::keyfile {

struct ShareMode {
  bool read = false;
  bool write = false;
  bool deny_read = false;
  bool deny_write = false;

  // Read/write, nothing shared: the mode of create, remove and replace.
  static ShareMode Exclusive() { return {true, true, true, true}; }
};

// Parses an open mode (22h, 42h, ...); error 75 for an invalid one.
Status ParseMode(int mode, ShareMode* out);

class ShareLock {
 public:
  ShareLock() = default;
  ~ShareLock() { Release(); }
  ShareLock(const ShareLock&) = delete;
  ShareLock& operator=(const ShareLock&) = delete;

  // Takes `mode`'s sharing of the database at `database_path`, retrying for up
  // to `wait` while another holder conflicts. Error 32 when the conflict
  // outlasts the wait. REQUIRES: !held().
  Status Acquire(const std::string& database_path, ShareMode mode, std::chrono::milliseconds wait);
  // Unlinks the sidecar file and releases. REQUIRES: held() in an exclusive mode.
  void UnlinkAndRelease();
  void Release();
  bool held() const { return fd_ >= 0; }

 private:
  friend struct ShareLockRegistry;

  bool LockGate(std::chrono::steady_clock::time_point deadline);
  void UnlockGate();
  // Opens the sidecar file into fd_, registered for the fork handler.
  Status OpenLockFile();

  int fd_ = -1;
  std::string lock_path_;
};

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_SHARE_LOCK_H_
