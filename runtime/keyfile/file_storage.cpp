// File: whole-file operations: create, open, close, stream and flush, build,
// copy, remove, and driver options.

#include <sys/stat.h>

#include <cerrno>

#include "runtime/keyfile/file.h"
#include "runtime/keyfile/file_impl.h"
#include "runtime/keyfile/text.h"

namespace rt::keyfile {
namespace {

constexpr int kMaxRecoverSeconds = 3600;

// Checks that `path` names an existing regular file.
Status RequireExisting(const std::string& path, struct stat* st) {
  if (path.empty()) return Status::Error(kFileNotFound, "no file name");
  if (stat(path.c_str(), st) != 0) {
    const int err = errno;
    const int code = (err == ENOENT || err == ENOTDIR) ? kFileNotFound
                     : err == EACCES                   ? kAccessDenied
                                                       : kDriverError;
    return Status::Os(code, err, path);
  }
  if (!S_ISREG(st->st_mode)) return Status::Error(kDriverError, path + " is not a file");
  return Status::Ok();
}

// Runs `body` on the database in one transaction of its own.
Status InTransaction(Connection* db, const std::function<Status()>& body) {
  KEYFILE_RETURN_IF_ERROR(db->Exec("BEGIN IMMEDIATE"));
  Status status = body();
  if (status.ok()) status = db->Exec("COMMIT");
  if (!status.ok()) db->Exec("ROLLBACK");
  return status;
}

}  // namespace

int File::Create() {
  Impl& f = *impl_;
  Status status = f.RequireUsable();
  if (status.ok() && f.open) status = Status::Error(kFileAlreadyOpen, "close the file first");
  const std::string name = f.FileName();
  if (status.ok() && name.empty()) status = Status::Error(kFileNotFound, "no file name");
  if (!status.ok()) return Publish(status);
  // Nobody may have the old file open while it is replaced.
  ShareLock lock;
  status = lock.Acquire(name, ShareMode::Exclusive(), f.RecoverWait());
  if (!status.ok()) return Publish(status);
  std::string temp;
  status = MakeTempFile(name, &temp);
  if (!status.ok()) return Publish(status);
  status = CreateDatabase(temp, f.Password(), f.layout);
  if (status.ok()) status = ReplaceFile(temp, name);
  if (!status.ok()) RemoveDatabaseFiles(temp);
  return Publish(status);
}

int File::Open(int mode) {
  Impl& f = *impl_;
  Status status = f.RequireUsable();
  if (status.ok() && f.open) status = Status::Error(kFileAlreadyOpen, "the file is already open");
  ShareMode share;
  if (status.ok()) status = ParseMode(mode, &share);
  const std::string name = f.FileName();
  struct stat st = {};
  if (status.ok()) status = RequireExisting(name, &st);
  if (status.ok()) status = f.lock.Acquire(name, share, f.RecoverWait());
  if (status.ok()) status = OpenDatabase(name, f.Password(), f.layout, &f.db, &f.info);
  if (status.ok() && !f.info.keys_valid) {
    status = Status::Error(kKeysMustBeRebuilt, name + " was appended to; its keys must be built");
  }
  if (!status.ok()) {
    if (status.code() != kFileAlreadyOpen) f.CloseNow();
    return Publish(status);
  }
  f.open = true;
  f.open_name = name;
  f.mode = share;
  f.txn = Impl::Txn::kNone;
  f.has_current = false;
  f.watched = false;
  f.watch_pending = false;
  f.order = kFileOrder;
  f.anchor = Anchor();
  f.ahead.Clear();
  ++f.generation;
  return Publish(Status::Ok());
}

int File::Close() {
  Impl& f = *impl_;
  if (!f.open) return Publish(Status::Ok());
  Status status;
  if (f.txn == Impl::Txn::kStream) status = f.db.Exec("COMMIT");
  if (f.txn == Impl::Txn::kTransaction) f.db.Exec("ROLLBACK");
  f.CloseNow();
  return Publish(status);
}

int File::Stream() {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok() && f.txn == Impl::Txn::kTransaction) {
    status = Status::Error(kTransactionActive, "a transaction is active");
  }
  if (status.ok() && f.txn == Impl::Txn::kNone) {
    // A reading stream needs no write lock: it must not block other writers.
    status = f.db.Exec(f.mode.write ? "BEGIN IMMEDIATE" : "BEGIN");
    if (status.ok()) f.txn = Impl::Txn::kStream;
  }
  return Publish(status);
}

int File::Flush() {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok() && f.txn == Impl::Txn::kStream) {
    status = f.db.Exec("COMMIT");
    if (status.ok()) f.txn = Impl::Txn::kNone;
  }
  return Publish(status);
}

int File::Build() {
  Impl& f = *impl_;
  Status status = f.RequireUsable();
  if (!status.ok()) return Publish(status);
  if (f.open) {
    status = f.RequireWrite();
    if (status.ok()) status = f.Atomically([&f] { return RebuildKeys(&f.db, f.layout); });
    if (status.ok()) f.info.keys_valid = true;
    f.ahead.Clear();
    ++f.generation;
    return Publish(status);
  }
  // A closed file (its open reported 46) is opened exclusively for the build.
  const std::string name = f.FileName();
  struct stat st = {};
  status = RequireExisting(name, &st);
  ShareLock lock;
  if (status.ok()) status = lock.Acquire(name, ShareMode::Exclusive(), f.RecoverWait());
  Connection db;
  DatabaseInfo info;
  if (status.ok()) status = OpenDatabase(name, f.Password(), f.layout, &db, &info);
  if (status.ok()) status = InTransaction(&db, [&] { return RebuildKeys(&db, f.layout); });
  return Publish(status);
}

int File::Copy(std::string_view destination) {
  Impl& f = *impl_;
  Status status = f.RequireUsable();
  const std::string target(ClipText(destination));
  if (status.ok() && target.empty()) status = Status::Error(kInvalidRequest, "no destination");
  if (status.ok() && f.open && f.txn != Impl::Txn::kNone) {
    status = Status::Error(kTransactionActive, "end the transaction or stream first");
  }
  const std::string source = f.open ? f.open_name : f.FileName();
  struct stat from = {};
  if (status.ok()) status = RequireExisting(source, &from);
  if (!status.ok()) return Publish(status);
  struct stat to = {};
  if (stat(target.c_str(), &to) == 0 && to.st_dev == from.st_dev && to.st_ino == from.st_ino) {
    return Publish(Status::Ok());  // Already there.
  }
  ShareLock lock;
  status = lock.Acquire(target, ShareMode::Exclusive(), f.RecoverWait());
  // A closed handle reads the source through a connection of its own, holding
  // it as a reader so that nobody replaces or removes it meanwhile.
  ShareLock source_lock;
  Connection own;
  DatabaseInfo own_info;
  Connection* db = &f.db;
  const DatabaseInfo* info = &f.info;
  if (status.ok() && !f.open) {
    status = source_lock.Acquire(source, ShareMode{true, false, false, false}, f.RecoverWait());
  }
  if (status.ok() && !f.open) {
    status = OpenDatabase(source, f.Password(), f.layout, &own, &own_info);
    db = &own;
    info = &own_info;
  }
  std::string temp;
  if (status.ok()) status = MakeTempFile(target, &temp);
  if (!status.ok()) return Publish(status);
  status = ExportDatabase(db, *info, temp);
  if (status.ok()) status = ReplaceFile(temp, target);
  if (!status.ok()) RemoveDatabaseFiles(temp);
  return Publish(status);
}

int File::Remove() {
  Impl& f = *impl_;
  Status status = f.RequireUsable();
  if (status.ok() && f.open) status = Status::Error(kFileAlreadyOpen, "close the file first");
  const std::string name = f.FileName();
  struct stat st = {};
  if (status.ok()) status = RequireExisting(name, &st);
  ShareLock lock;
  if (status.ok()) status = lock.Acquire(name, ShareMode::Exclusive(), f.RecoverWait());
  if (!status.ok()) return Publish(status);
  const int err = RemoveDatabaseFiles(name);
  if (err != 0) {
    return Publish(Status::Os(err == EACCES || err == EPERM ? kAccessDenied : kDriverError, err,
                              "cannot remove " + name));
  }
  lock.UnlinkAndRelease();
  return Publish(Status::Ok());
}

int File::SendOption(std::string_view option) {
  Impl& f = *impl_;
  const std::size_t equals = option.find('=');
  if (equals != std::string_view::npos) {
    std::string_view name = ClipText(option.substr(0, equals));
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    std::string_view value = option.substr(equals + 1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    value = ClipText(value);
    int seconds = -1;
    const bool number =
        !value.empty() && value.find_first_not_of("0123456789") == value.npos && value.size() <= 4;
    if (number) seconds = std::stoi(std::string(value));
    if (UpperText(name) == "RECOVER" && number && seconds <= kMaxRecoverSeconds) {
      f.recover_seconds = seconds;
      return Publish(Status::Ok());
    }
  }
  return Publish(
      Status::Error(kInvalidRequest, "unknown driver option '" + std::string(option) + "'"));
}

}  // namespace rt::keyfile
