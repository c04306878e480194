#include "runtime/keyfile/share_lock.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

namespace rt::keyfile {
namespace {

// Bytes of the sidecar file.
constexpr off_t kGate = 0;
constexpr off_t kReading = 1;
constexpr off_t kWriting = 2;
constexpr off_t kDenyingRead = 3;
constexpr off_t kDenyingWrite = 4;

constexpr auto kGateWait = std::chrono::seconds(2);  // The gate is only held for a check.
constexpr auto kPollInterval = std::chrono::milliseconds(10);

int LockByte(int fd, off_t byte, short type, int command) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  lock.l_pid = 0;
  while (true) {
    if (fcntl(fd, command, &lock) == 0) return 0;
    if (errno != EINTR) return errno;
  }
}

// True when another description holds any lock on `byte`.
bool Held(int fd, off_t byte) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  lock.l_pid = 0;
  if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return true;
  return lock.l_type != F_UNLCK;
}

// True when `fd` is still the file at `path`.
bool StillLinked(int fd, const std::string& path) {
  struct stat by_fd = {};
  struct stat by_path = {};
  if (fstat(fd, &by_fd) != 0 || stat(path.c_str(), &by_path) != 0) return false;
  return by_fd.st_dev == by_path.st_dev && by_fd.st_ino == by_path.st_ino;
}

}  // namespace

// Every ShareLock holding a descriptor, so that a forked child can close the
// ones it inherited. Process-wide state guarded by `mutex`.
struct ShareLockRegistry {
  std::mutex mutex;
  std::set<ShareLock*> locks;  // GUARDED_BY(mutex)

  static ShareLockRegistry& Get() {
    static ShareLockRegistry* registry = [] {
      auto* r = new ShareLockRegistry;  // Never destroyed: fork handlers use it until exit.
      pthread_atfork([] { Get().mutex.lock(); }, [] { Get().mutex.unlock(); },
                     [] {
                       ShareLockRegistry& self = Get();
                       for (ShareLock* lock : self.locks) {
                         close(lock->fd_);
                         lock->fd_ = -1;
                       }
                       self.locks.clear();
                       self.mutex.unlock();
                     });
      return r;
    }();
    return *registry;
  }
};

Status ParseMode(int mode, ShareMode* out) {
  const int access = mode & 0x0f;
  const int sharing = mode & 0xf0;
  if (access > 2 || (mode & ~0xff) != 0 || sharing > 0x40) {
    return Status::Error(kInvalidRequest, "invalid open mode " + std::to_string(mode));
  }
  ShareMode result;
  result.read = access == 0 || access == 2;
  result.write = access == 1 || access == 2;
  result.deny_read = sharing == 0x00 || sharing == 0x10 || sharing == 0x30;
  result.deny_write = sharing == 0x00 || sharing == 0x10 || sharing == 0x20;
  *out = result;
  return Status::Ok();
}

Status ShareLock::OpenLockFile() {
  ShareLockRegistry& registry = ShareLockRegistry::Get();
  std::lock_guard lock(registry.mutex);
  fd_ = open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    const int err = errno;
    const int code = err == EACCES ? kAccessDenied : err == ENOENT ? kFileNotFound : kDriverError;
    return Status::Os(code, err, "cannot open the lock file " + lock_path_);
  }
  registry.locks.insert(this);
  return Status::Ok();
}

bool ShareLock::LockGate(std::chrono::steady_clock::time_point deadline) {
  while (true) {
    const int err = LockByte(fd_, kGate, F_WRLCK, F_OFD_SETLK);
    if (err == 0) return true;
    if ((err != EAGAIN && err != EACCES) || std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

void ShareLock::UnlockGate() { LockByte(fd_, kGate, F_UNLCK, F_OFD_SETLK); }

Status ShareLock::Acquire(const std::string& database_path, ShareMode mode,
                          std::chrono::milliseconds wait) {
  lock_path_ = database_path + ".lock";
  const auto start = std::chrono::steady_clock::now();
  const auto deadline = start + wait;
  while (true) {
    if (fd_ < 0) KEYFILE_RETURN_IF_ERROR(OpenLockFile());
    if (!LockGate(std::max(deadline, start + kGateWait))) {
      Release();
      return Status::Error(kFileLocked, "the lock file " + lock_path_ + " stays busy");
    }
    if (!StillLinked(fd_, lock_path_)) {
      // The file was removed and perhaps created anew: lock the one at the path.
      UnlockGate();
      Release();
      continue;
    }
    const bool conflict =
        (mode.read && Held(fd_, kDenyingRead)) || (mode.write && Held(fd_, kDenyingWrite)) ||
        (mode.deny_read && Held(fd_, kReading)) || (mode.deny_write && Held(fd_, kWriting));
    if (!conflict) {
      int err = 0;
      if (mode.read && err == 0) err = LockByte(fd_, kReading, F_RDLCK, F_OFD_SETLK);
      if (mode.write && err == 0) err = LockByte(fd_, kWriting, F_RDLCK, F_OFD_SETLK);
      if (mode.deny_read && err == 0) err = LockByte(fd_, kDenyingRead, F_RDLCK, F_OFD_SETLK);
      if (mode.deny_write && err == 0) err = LockByte(fd_, kDenyingWrite, F_RDLCK, F_OFD_SETLK);
      UnlockGate();
      if (err != 0) {
        Release();
        return Status::Os(kDriverError, err, "cannot lock " + lock_path_);
      }
      return Status::Ok();
    }
    UnlockGate();
    if (std::chrono::steady_clock::now() >= deadline) {
      Release();
      return Status::Error(kFileLocked, "another handle holds the file in a conflicting mode");
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

void ShareLock::UnlinkAndRelease() {
  if (fd_ < 0) return;
  // Under the gate, so that no opener is between its link check and its locks.
  if (LockGate(std::chrono::steady_clock::now() + kGateWait)) {
    unlink(lock_path_.c_str());
  }
  Release();
}

void ShareLock::Release() {
  if (fd_ < 0) return;
  ShareLockRegistry& registry = ShareLockRegistry::Get();
  std::lock_guard lock(registry.mutex);
  close(fd_);  // Drops every lock of this description.
  fd_ = -1;
  registry.locks.erase(this);
}

}  // namespace rt::keyfile
