// Internal to the driver: RAII wrappers of a SQLCipher connection and its
// prepared statements.
//
// A Connection is used by one thread at a time (it is opened without SQLite's
// connection mutex); the File that owns it carries that contract. Statements
// are never left stepping between driver calls: every user resets its
// statement before it returns, so no read transaction outlives a call.

#ifndef RUNTIME_KEYFILE_SQLITE_DB_H_
#define RUNTIME_KEYFILE_SQLITE_DB_H_

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "runtime/keyfile/status.h"

namespace rt::keyfile {

class Statement {
 public:
  Statement() = default;
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(Statement&& other) noexcept : stmt_(other.stmt_) { other.stmt_ = nullptr; }
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return stmt_; }

  // Binders take 1-based parameter numbers. Text and blobs are bound without a
  // copy: the bytes must stay valid until the statement is reset.
  void BindInt(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
  void BindDouble(int index, double value) { sqlite3_bind_double(stmt_, index, value); }
  void BindText(int index, std::string_view text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
  }
  void BindBlob(int index, std::span<const std::byte> bytes);
  void BindNull(int index) { sqlite3_bind_null(stmt_, index); }

  int Step() { return sqlite3_step(stmt_); }
  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }

  std::int64_t ColumnInt(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::span<const std::byte> ColumnBlob(int column) const;
  std::string_view ColumnText(int column) const;
  bool ColumnIsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Resets a statement when it goes out of scope.
class ScopedReset {
 public:
  explicit ScopedReset(Statement* stmt) : stmt_(stmt) {}
  ~ScopedReset() { stmt_->Reset(); }
  ScopedReset(const ScopedReset&) = delete;
  ScopedReset& operator=(const ScopedReset&) = delete;

 private:
  Statement* stmt_;
};

class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens `path` with SQLite `flags` (SQLITE_OPEN_NOMUTEX is added).
  Status Open(const std::string& path, int flags);
  bool is_open() const { return db_ != nullptr; }
  sqlite3* get() const { return db_; }
  void Close();

  // Runs one or more statements that return no rows of interest.
  Status Exec(const std::string& sql);
  Status Prepare(std::string_view sql, Statement* out);
  // The statement cached under `id`, prepared from make_sql() the first time.
  // Returns null and sets *status on a prepare failure.
  template <typename MakeSql>
  Statement* Cached(std::uint64_t id, MakeSql make_sql, Status* status) {
    auto it = cache_.find(id);
    if (it != cache_.end()) return &it->second;
    Statement stmt;
    *status = Prepare(make_sql(), &stmt);
    if (!status->ok()) return nullptr;
    return &cache_.emplace(id, std::move(stmt)).first->second;
  }
  // Drops the cached statements (after a schema change of our own).
  void ClearCache() { cache_.clear(); }

  Status Error(int rc) const { return Status::Sqlite(db_, rc); }

 private:
  sqlite3* db_ = nullptr;
  std::unordered_map<std::uint64_t, Statement> cache_;
};

// Quotes `text` as an SQL string literal.
std::string SqlQuote(std::string_view text);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_SQLITE_DB_H_
