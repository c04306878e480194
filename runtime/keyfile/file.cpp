// File: the record buffer, positioning and reading, changes, transactions,
// blobs and properties. Opening, creating and the other whole-file operations
// are in file_storage.cpp.

#include "runtime/keyfile/file.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "runtime/keyfile/file_impl.h"
#include "runtime/keyfile/position.h"
#include "runtime/keyfile/record.h"
#include "runtime/keyfile/text.h"

namespace rt::keyfile {
namespace {

// Statement cache ids of the writes (reads use sequence.cpp's, below 1 << 40).
constexpr std::uint64_t kInsertStatement = std::uint64_t{2} << 40;
constexpr std::uint64_t kUpdateStatement = std::uint64_t{3} << 40;  // | 1 blob | 2 watched
constexpr std::uint64_t kDeleteStatement = std::uint64_t{4} << 40;  // | 2 watched

constexpr int kMaxReadAhead = 1000;

std::string UpdateSql(const Layout& layout, bool with_blob, bool watched) {
  std::string sql =
      std::string("UPDATE ") + kRecordsTable + " SET image = ?1, changes = changes + 1";
  int param = 2;
  if (with_blob) sql += ", blob = ?" + std::to_string(param++);
  for (const std::string& column : layout.key_columns) {
    sql += ", " + column + " = ?" + std::to_string(param++);
  }
  sql += " WHERE id = ?" + std::to_string(param++);
  if (watched) sql += " AND changes = ?" + std::to_string(param);
  return sql;
}

std::string InsertSql(const Layout& layout) {
  std::string sql = std::string("INSERT INTO ") + kRecordsTable + "(image, blob, changes" +
                    KeyColumnList(layout) + ") VALUES(?1, ?2, 0";
  for (std::size_t i = 0; i < layout.key_columns.size(); ++i) {
    sql += ", ?" + std::to_string(i + 3);
  }
  return sql + ")";
}

std::vector<KeyValue> KeyColumnValues(const Layout& layout, std::span<const std::byte> record) {
  std::vector<KeyValue> values;
  values.reserve(layout.key_fields.size());
  for (int f : layout.key_fields) values.push_back(ExtractKeyValue(*layout.declaration, f, record));
  return values;
}

bool ParseInt(std::string_view text, int* out) {
  text = ClipText(text);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

// ---------------------------------------------------------------- Impl

File::Impl::Impl(std::shared_ptr<const FileDeclaration> d)
    : declaration(std::move(d)),
      invalid(declaration->Validate()),
      layout(*declaration),
      own_record(declaration->record_length),
      record(own_record) {}

Status File::Impl::RequireUsable() const {
  if (!invalid.empty()) return Status::Error(kInvalidRequest, "invalid declaration: " + invalid);
  return Status::Ok();
}

Status File::Impl::RequireOpen() const {
  KEYFILE_RETURN_IF_ERROR(RequireUsable());
  if (!open) return Status::Error(kFileNotOpen, "the file is not open");
  return Status::Ok();
}

Status File::Impl::RequireWrite() const {
  KEYFILE_RETURN_IF_ERROR(RequireOpen());
  if (!mode.write) return Status::Error(kAccessDenied, "the file is open for reading only");
  return Status::Ok();
}

Status File::Impl::RequireKey(int key) const {
  KEYFILE_RETURN_IF_ERROR(RequireUsable());
  if (key < 0 || static_cast<std::size_t>(key) >= layout.keys.size()) {
    return Status::Error(kInvalidRequest, "no key number " + std::to_string(key));
  }
  return Status::Ok();
}

std::string File::Impl::FileName() const {
  if (name_override) return std::string(ClipText(*name_override));
  return declaration->file_name ? std::string(ClipText(declaration->file_name->Get())) : "";
}

std::string File::Impl::Password() const {
  if (password_override) return std::string(ClipText(*password_override));
  return declaration->password ? std::string(ClipText(declaration->password->Get())) : "";
}

Status File::Impl::Load(const Row& row) {
  if (row.image.size() != record.size()) {
    return Status::Error(kDriverError, "record " + std::to_string(row.id) +
                                           " has the wrong length: the file is damaged");
  }
  std::memcpy(record.data(), row.image.data(), record.size());
  has_current = true;
  current_id = row.id;
  current_changes = row.changes;
  watched = watch_pending;
  watch_pending = false;
  blob = row.blob;
  blob_changed = false;
  return Status::Ok();
}

Status File::Impl::ReadFrom(int read_order, const std::vector<KeyValue>& fixed, Anchor* from,
                            ReadAhead* rows, bool forward, int batch,
                            const std::function<bool(const Row&)>& accept) {
  if (!rows->Has(forward)) rows->Clear();
  rows->forward = forward;
  while (true) {
    if (rows->next >= rows->rows.size()) {
      rows->Clear();
      KEYFILE_RETURN_IF_ERROR(
          FetchRows(&db, layout, read_order, fixed, *from, forward, batch, &rows->rows));
      if (rows->rows.empty()) return Status::Error(kRecordNotAvailable, "no more records");
    }
    const Row& row = rows->rows[rows->next++];
    if (row.image.size() != record.size()) {
      return Status::Error(kDriverError, "record " + std::to_string(row.id) +
                                             " has the wrong length: the file is damaged");
    }
    from->kind = Anchor::Kind::kAfterRecord;
    from->rowid = row.id;
    if (read_order != kFileOrder) ExtractKeyInto(layout, read_order, row.image, &from->values);
    if (accept && !accept(row)) continue;
    return Load(row);
  }
}

Status File::Impl::Atomically(const std::function<Status()>& body) {
  if (txn != Txn::kNone) {
    KEYFILE_RETURN_IF_ERROR(db.Exec("SAVEPOINT twiq_unit"));
    Status status = body();
    if (status.ok()) return db.Exec("RELEASE twiq_unit");
    db.Exec("ROLLBACK TO twiq_unit; RELEASE twiq_unit");
    return status;
  }
  KEYFILE_RETURN_IF_ERROR(db.Exec("BEGIN IMMEDIATE"));
  Status status = body();
  if (status.ok()) status = db.Exec("COMMIT");
  if (!status.ok()) db.Exec("ROLLBACK");
  return status;
}

void File::Impl::CloseNow() {
  db.Close();
  lock.Release();
  open = false;
  open_name.clear();
  info = DatabaseInfo();
  txn = Txn::kNone;
  has_current = false;
  watched = false;
  watch_pending = false;
  order = kFileOrder;
  anchor = Anchor();
  ahead.Clear();
  ++generation;
}

// ---------------------------------------------------------------- File

File::File(std::shared_ptr<const FileDeclaration> declaration)
    : impl_(std::make_unique<Impl>(std::move(declaration))) {}

File::~File() {
  if (impl_ != nullptr && impl_->open) Close();
}

File::File(File&& other) noexcept = default;

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (impl_ != nullptr && impl_->open) Close();
    impl_ = std::move(other.impl_);
  }
  return *this;
}

const FileDeclaration& File::declaration() const { return *impl_->declaration; }

bool File::is_open() const { return impl_->open; }

int File::Bind(std::span<std::byte> record) {
  if (record.size() != impl_->declaration->record_length) {
    return Publish(Status::Error(
        kInvalidRequest, "the buffer has " + std::to_string(record.size()) + " bytes, the record " +
                             std::to_string(impl_->record.size())));
  }
  impl_->record = record;
  return Publish(Status::Ok());
}

std::span<std::byte> File::RecordBlock() { return impl_->record; }

// ---- Positioning.

int File::Set(int key) {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok()) status = f.RequireKey(key);
  if (status.ok()) {
    f.order = key;
    f.anchor = Anchor();
    f.ahead.Clear();
  }
  return Publish(status);
}

int File::SetToValue(int key) {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok()) status = f.RequireKey(key);
  if (status.ok()) {
    f.order = key;
    f.anchor = Anchor{Anchor::Kind::kValue, ExtractKey(f.layout, key, f.record), 0};
    f.ahead.Clear();
  }
  return Publish(status);
}

int File::SetFileOrder() {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok()) {
    f.order = kFileOrder;
    f.anchor = Anchor();
    f.ahead.Clear();
  }
  return Publish(status);
}

int File::Next() {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok()) {
    status = f.ReadFrom(f.order, {}, &f.anchor, &f.ahead, true, std::max(1, f.read_ahead), nullptr);
  }
  return Publish(status);
}

int File::Previous() {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok()) {
    status =
        f.ReadFrom(f.order, {}, &f.anchor, &f.ahead, false, std::max(1, f.read_ahead), nullptr);
  }
  return Publish(status);
}

int File::Get(int key) {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok()) status = f.RequireKey(key);
  if (!status.ok()) return Publish(status);
  status = FetchRows(&f.db, f.layout, key, ExtractKey(f.layout, key, f.record), Anchor(), true, 1,
                     &f.scratch);
  if (status.ok() && f.scratch.empty()) {
    status = Status::Error(kRecordNotFound, "no record has that key");
  }
  if (status.ok()) status = f.Load(f.scratch[0]);
  return Publish(status);
}

std::string File::Position(int key) {
  Impl& f = *impl_;
  Status status = f.RequireKey(key);
  if (!status.ok()) {
    Publish(status);
    return "";
  }
  Publish(Status::Ok());
  return EncodePosition({PositionValue::Kind::kKey, key, f.has_current ? f.current_id : 0,
                         ExtractKey(f.layout, key, f.record)});
}

std::string File::Position() {
  Impl& f = *impl_;
  if (f.order != kFileOrder) return Position(f.order);
  Publish(Status::Ok());
  return EncodePosition(
      {PositionValue::Kind::kFileOrder, -1, f.has_current ? f.current_id : 0, {}});
}

int File::Reget(std::string_view position) {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (!status.ok()) return Publish(status);
  std::optional<PositionValue> decoded = DecodePosition(position);
  if (!decoded || decoded->rowid <= 0) {
    return Publish(Status::Error(kRecordNotFound, "not a position of a record"));
  }
  f.scratch.Clear();
  Row& row = f.scratch.Append();
  bool found = false;
  status = FetchRowById(&f.db, decoded->rowid, &row, &found);
  if (status.ok() && !found) status = Status::Error(kRecordNotFound, "the record is gone");
  if (status.ok()) status = f.Load(row);
  return Publish(status);
}

int File::Reset(std::string_view position) {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (!status.ok()) return Publish(status);
  std::optional<PositionValue> decoded = DecodePosition(position);
  if (!decoded) return Publish(Status::Error(kRecordNotFound, "not a position"));
  Anchor anchor;
  anchor.kind = decoded->rowid > 0 ? Anchor::Kind::kRecord : Anchor::Kind::kValue;
  anchor.rowid = decoded->rowid;
  int order = kFileOrder;
  if (decoded->kind != PositionValue::Kind::kFileOrder) {
    status = f.RequireKey(decoded->key);
    if (status.ok() && decoded->values.size() != f.layout.keys[decoded->key].fields.size()) {
      status = Status::Error(kRecordNotFound, "the position does not belong to this key");
    }
    if (!status.ok()) return Publish(status);
    order = decoded->key;
    anchor.values = std::move(decoded->values);
  } else if (decoded->rowid <= 0) {
    anchor.kind = Anchor::Kind::kStart;
  }
  f.order = order;
  f.anchor = std::move(anchor);
  f.ahead.Clear();
  return Publish(Status::Ok());
}

void File::ClearCurrent() {
  impl_->has_current = false;
  impl_->watched = false;
}

// ---- Changes.

namespace {

// Binds the key columns from `values` starting at parameter `first`.
void BindKeyColumns(Statement* stmt, int first, const std::vector<KeyValue>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    BindKeyValue(stmt, first + static_cast<int>(i), values[i]);
  }
}

}  // namespace

Status File::Impl::Insert() {
  Impl* f = this;
  Status status;
  Statement* stmt = f->db.Cached(
      kInsertStatement, [f] { return InsertSql(f->layout); }, &status);
  if (stmt == nullptr) return status;
  ScopedReset reset(stmt);
  const std::vector<KeyValue> keys = KeyColumnValues(f->layout, f->record);
  stmt->BindBlob(1, f->record);
  if (f->blob.empty()) {
    stmt->BindNull(2);
  } else {
    stmt->BindBlob(2, f->blob);
  }
  BindKeyColumns(stmt, 3, keys);
  const int rc = stmt->Step();
  if (rc != SQLITE_DONE) return f->db.Error(rc);
  f->has_current = true;
  f->current_id = sqlite3_last_insert_rowid(f->db.get());
  f->current_changes = 0;
  f->watched = false;
  f->blob_changed = false;
  f->ahead.Clear();
  ++f->generation;
  return Status::Ok();
}

Status File::Impl::Missed() {
  Impl* f = this;
  if (f->watched) {
    Row row;
    bool found = false;
    KEYFILE_RETURN_IF_ERROR(FetchRowById(&f->db, f->current_id, &row, &found));
    if (found) return Status::Error(kRecordChanged, "another station changed the record");
  }
  return Status::Error(kRecordNotAvailable, "the record is no longer in the file");
}

int File::Add() {
  Impl& f = *impl_;
  Status status = f.RequireWrite();
  if (status.ok() && !f.info.keys_valid) {
    status = Status::Error(kKeysMustBeRebuilt, "the keys are not built");
  }
  if (status.ok()) status = f.Insert();
  return Publish(status);
}

int File::Append() {
  Impl& f = *impl_;
  Status status = f.RequireWrite();
  if (!status.ok()) return Publish(status);
  if (!f.info.keys_valid) return Publish(f.Insert());
  // The first append drops the indexes and marks the keys unbuilt, in the same
  // unit as the record, so that no file holds records its indexes miss.
  f.db.ClearCache();
  status = f.Atomically([&f] {
    KEYFILE_RETURN_IF_ERROR(f.db.Exec(DropIndexesSql(f.layout) + "UPDATE " + kMetaTable +
                                      " SET value = '0' WHERE name = 'keys_valid'"));
    return f.Insert();
  });
  if (status.ok()) f.info.keys_valid = false;
  return Publish(status);
}

int File::Put() {
  Impl& f = *impl_;
  Status status = f.RequireWrite();
  if (status.ok() && !f.has_current) {
    status = Status::Error(kRecordNotAvailable, "there is no current record");
  }
  if (!status.ok()) return Publish(status);
  const bool with_blob = f.blob_changed;
  const bool watched = f.watched;
  Statement* stmt = f.db.Cached(
      kUpdateStatement | (with_blob ? 1 : 0) | (watched ? 2 : 0),
      [&] { return UpdateSql(f.layout, with_blob, watched); }, &status);
  if (stmt == nullptr) return Publish(status);
  {
    ScopedReset reset(stmt);
    const std::vector<KeyValue> keys = KeyColumnValues(f.layout, f.record);
    int param = 1;
    stmt->BindBlob(param++, f.record);
    if (with_blob) {
      if (f.blob.empty()) {
        stmt->BindNull(param++);
      } else {
        stmt->BindBlob(param++, f.blob);
      }
    }
    BindKeyColumns(stmt, param, keys);
    param += static_cast<int>(keys.size());
    stmt->BindInt(param++, f.current_id);
    if (watched) stmt->BindInt(param, f.current_changes);
    const int rc = stmt->Step();
    if (rc != SQLITE_DONE) return Publish(f.db.Error(rc));
  }
  if (sqlite3_changes(f.db.get()) == 0) return Publish(f.Missed());
  ++f.current_changes;
  f.blob_changed = false;
  f.ahead.Clear();
  ++f.generation;
  return Publish(Status::Ok());
}

int File::Delete() {
  Impl& f = *impl_;
  Status status = f.RequireWrite();
  if (status.ok() && !f.has_current) {
    status = Status::Error(kRecordNotAvailable, "there is no current record");
  }
  if (!status.ok()) return Publish(status);
  const bool watched = f.watched;
  Statement* stmt = f.db.Cached(
      kDeleteStatement | (watched ? 2 : 0),
      [&] {
        return std::string("DELETE FROM ") + kRecordsTable + " WHERE id = ?1" +
               (watched ? " AND changes = ?2" : "");
      },
      &status);
  if (stmt == nullptr) return Publish(status);
  {
    ScopedReset reset(stmt);
    stmt->BindInt(1, f.current_id);
    if (watched) stmt->BindInt(2, f.current_changes);
    const int rc = stmt->Step();
    if (rc != SQLITE_DONE) return Publish(f.db.Error(rc));
  }
  if (sqlite3_changes(f.db.get()) == 0) return Publish(f.Missed());
  f.has_current = false;
  f.watched = false;
  f.ahead.Clear();
  ++f.generation;
  return Publish(Status::Ok());
}

int File::Watch() {
  Status status = impl_->RequireOpen();
  if (status.ok()) impl_->watch_pending = true;
  return Publish(status);
}

// ---- Transactions.

int File::Begin(int timeout_seconds) {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok() && f.txn != Impl::Txn::kNone) {
    status = Status::Error(kTransactionActive, "a transaction or stream is already active");
  }
  if (status.ok() && (timeout_seconds < 0 || timeout_seconds > 3600)) {
    status = Status::Error(kInvalidRequest, "invalid transaction timeout");
  }
  if (!status.ok()) return Publish(status);
  sqlite3_busy_timeout(f.db.get(), timeout_seconds * 1000);
  status = f.db.Exec("BEGIN IMMEDIATE");
  sqlite3_busy_timeout(f.db.get(), kDefaultBusyMilliseconds);
  if (status.code() == kFileLocked) {
    status = Status(kFileLocked, status.driver_code(),
                    "another station's transaction outlasted " + std::to_string(timeout_seconds) +
                        " s: " + status.message());
  }
  if (status.ok()) f.txn = Impl::Txn::kTransaction;
  return Publish(status);
}

int File::Commit() {
  Impl& f = *impl_;
  Status status = f.RequireOpen();
  if (status.ok() && f.txn != Impl::Txn::kTransaction) {
    status = Status::Error(kNoTransaction, "no transaction to commit");
  }
  if (status.ok()) status = f.db.Exec("COMMIT");
  if (status.ok()) f.txn = Impl::Txn::kNone;
  return Publish(status);
}

int File::Rollback() {
  Impl& f = *impl_;
  if (f.open && f.txn == Impl::Txn::kTransaction) {
    f.db.Exec("ROLLBACK");
    f.txn = Impl::Txn::kNone;
    f.ahead.Clear();
    ++f.generation;
  }
  return Publish(Status::Ok());
}

// ---- Blobs.

std::size_t File::BlobSize() const { return impl_->blob.size(); }

int File::SetBlobSize(std::size_t size) {
  Impl& f = *impl_;
  if (f.declaration->blob.empty()) {
    return Publish(Status::Error(kInvalidRequest, "the declaration has no blob"));
  }
  if (size != f.blob.size()) {
    f.blob.resize(size);
    f.blob_changed = true;
  }
  return Publish(Status::Ok());
}

std::span<const std::byte> File::BlobData() const { return impl_->blob; }

int File::SetBlob(std::span<const std::byte> data) {
  Impl& f = *impl_;
  if (f.declaration->blob.empty()) {
    return Publish(Status::Error(kInvalidRequest, "the declaration has no blob"));
  }
  if (!std::equal(data.begin(), data.end(), f.blob.begin(), f.blob.end())) {
    f.blob.assign(data.begin(), data.end());
    f.blob_changed = true;
  }
  return Publish(Status::Ok());
}

bool File::BlobChanged() const { return impl_->blob_changed; }

// ---- Properties.

std::string File::GetProperty(int code) const {
  const Impl& f = *impl_;
  Publish(Status::Ok());
  switch (code) {
    case kPropFileName:
      return f.open ? f.open_name : f.FileName();
    case kPropFilePassword:
      return f.Password();
    case kPropRecordBlock:
      return std::to_string(f.record.size());
    case kPropReadAhead:
      return std::to_string(f.read_ahead);
    default:
      Publish(Status::Error(kInvalidRequest, "no file property " + std::to_string(code)));
      return "";
  }
}

int File::SetProperty(int code, std::string_view value) {
  Impl& f = *impl_;
  switch (code) {
    case kPropFileName:
      f.name_override = std::string(value);
      return Publish(Status::Ok());
    case kPropFilePassword:
      f.password_override = std::string(value);
      return Publish(Status::Ok());
    case kPropReadAhead: {
      int rows = 0;
      if (!ParseInt(value, &rows) || rows < 0 || rows > kMaxReadAhead) {
        return Publish(Status::Error(kInvalidRequest, "invalid read-ahead"));
      }
      f.read_ahead = rows;
      f.ahead.Clear();
      return Publish(Status::Ok());
    }
    case kPropRecordBlock:
      return Publish(Status::Error(kInvalidRequest, "the record block is read-only; use Bind()"));
    default:
      return Publish(Status::Error(kInvalidRequest, "no file property " + std::to_string(code)));
  }
}

void File::UseSharedVariables() {
  impl_->name_override.reset();
  impl_->password_override.reset();
}

}  // namespace rt::keyfile
