#include "runtime/keyfile/sqlite_db.h"

namespace rt::keyfile {

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = other.stmt_;
    other.stmt_ = nullptr;
  }
  return *this;
}

void Statement::BindBlob(int index, std::span<const std::byte> bytes) {
  // A zero-length blob is still a blob (not NULL): a non-null pointer is required.
  static const std::byte kEmpty{};
  sqlite3_bind_blob(stmt_, index, bytes.empty() ? &kEmpty : bytes.data(),
                    static_cast<int>(bytes.size()), SQLITE_STATIC);
}

std::span<const std::byte> Statement::ColumnBlob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return {};
  return {static_cast<const std::byte*>(data), static_cast<std::size_t>(size)};
}

std::string_view Statement::ColumnText(int column) const {
  const unsigned char* data = sqlite3_column_text(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return {};
  return {reinterpret_cast<const char*>(data), static_cast<std::size_t>(size)};
}

Connection::~Connection() { Close(); }

Status Connection::Open(const std::string& path, int flags) {
  Close();
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    Status status = Status::Sqlite(db, rc);
    sqlite3_close_v2(db);
    return status;
  }
  sqlite3_extended_result_codes(db, 1);
  db_ = db;
  return Status::Ok();
}

void Connection::Close() {
  cache_.clear();
  if (db_ != nullptr) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
}

Status Connection::Exec(const std::string& sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
  sqlite3_free(message);
  if (rc != SQLITE_OK) return Error(rc);
  return Status::Ok();
}

Status Connection::Prepare(std::string_view sql, Statement* out) {
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return Error(rc);
  }
  *out = Statement(stmt);
  return Status::Ok();
}

std::string SqlQuote(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  out += "'";
  return out;
}

}  // namespace rt::keyfile
