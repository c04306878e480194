// Internal to the driver: the state behind a File, shared by file.cpp,
// file_storage.cpp and view.cpp.

#ifndef RUNTIME_KEYFILE_FILE_IMPL_H_
#define RUNTIME_KEYFILE_FILE_IMPL_H_

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/keyfile/database.h"
#include "runtime/keyfile/file.h"
#include "runtime/keyfile/schema.h"
#include "runtime/keyfile/sequence.h"
#include "runtime/keyfile/share_lock.h"
#include "runtime/keyfile/sqlite_db.h"

namespace rt::keyfile {

// Read-ahead: rows fetched in one go and handed out by the following reads in
// the same direction.
struct ReadAhead {
  RowBuffer rows;
  std::size_t next = 0;
  bool forward = true;

  void Clear() {
    rows.Clear();
    next = 0;
  }
  bool Has(bool direction) const { return forward == direction && next < rows.size(); }
};

struct File::Impl {
  explicit Impl(std::shared_ptr<const FileDeclaration> d);

  // Outcomes shared by the operations.
  Status RequireUsable() const;
  Status RequireOpen() const;
  Status RequireWrite() const;
  Status RequireKey(int key) const;
  std::string FileName() const;
  std::string Password() const;
  std::chrono::milliseconds RecoverWait() const { return std::chrono::seconds(recover_seconds); }

  // Makes `row` the current record: its image into the buffer, its blob, and
  // the watch armed by Watch() if any. 90 when the image has the wrong length.
  Status Load(const Row& row);
  // Reads the next row of `order` from `anchor` (through `ahead`), loads it and
  // moves `anchor` past it. 33 at the end.
  Status ReadFrom(int order, const std::vector<KeyValue>& fixed, Anchor* anchor, ReadAhead* ahead,
                  bool forward, int batch, const std::function<bool(const Row&)>& accept);
  // Runs `body` as one unit: inside the active transaction (as a savepoint) or
  // in a transaction of its own.
  Status Atomically(const std::function<Status()>& body);
  // Inserts the buffer and its blob as a new record and makes it current.
  Status Insert();
  // After a write that matched no row: the record is gone (33) or, when it
  // was watched, changed by another station (89).
  Status Missed();
  // Closes the connection and the lock and resets the per-open state.
  void CloseNow();

  std::shared_ptr<const FileDeclaration> declaration;
  std::string invalid;  // Validate()'s verdict; "" when usable.
  Layout layout;
  std::vector<std::byte> own_record;
  std::span<std::byte> record;
  std::optional<std::string> name_override;
  std::optional<std::string> password_override;
  int recover_seconds = 0;
  int read_ahead = 0;

  // While open.
  Connection db;
  ShareLock lock;
  bool open = false;
  ShareMode mode;
  std::string open_name;
  DatabaseInfo info;
  enum class Txn { kNone, kTransaction, kStream } txn = Txn::kNone;

  // The current record.
  bool has_current = false;
  std::int64_t current_id = 0;
  std::int64_t current_changes = 0;
  bool watched = false;        // The current record was read under Watch().
  bool watch_pending = false;  // Watch() was called; the next read arms.
  std::vector<std::byte> blob;
  bool blob_changed = false;

  // The sequence.
  int order = kFileOrder;
  Anchor anchor;
  ReadAhead ahead;
  RowBuffer scratch;  // Rows of Get() and Reget().
  // Counts this handle's writes, opens and closes, so that views drop rows
  // they read ahead before it changed.
  std::uint64_t generation = 0;
};

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_FILE_IMPL_H_
