#include "runtime/keyfile/database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "runtime/keyfile/cipher_key.h"
#include "runtime/keyfile/record.h"
#include "runtime/keyfile/text.h"

namespace rt::keyfile {
namespace {

constexpr char kPlainHeader[] = "SQLite format 3";  // 16 bytes with its terminator.
constexpr std::size_t kHeaderBytes = 100;

std::uint32_t BigEndian32(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

// twiq_key_value(image, offset, type, width): a key column's value computed
// from a record image, as ExtractKeyValue() does.
void KeyValueFunction(sqlite3_context* context, int, sqlite3_value** args) {
  const auto* image = static_cast<const std::byte*>(sqlite3_value_blob(args[0]));
  const auto size = static_cast<std::size_t>(sqlite3_value_bytes(args[0]));
  Field field;
  field.offset = static_cast<std::size_t>(sqlite3_value_int64(args[1]));
  field.type = static_cast<FieldType>(sqlite3_value_int(args[2]));
  field.width = static_cast<std::size_t>(sqlite3_value_int64(args[3]));
  if (image == nullptr || field.offset > size || FieldWidth(field) > size - field.offset) {
    sqlite3_result_null(context);
    return;
  }
  std::span<const std::byte> record(image, size);
  if (field.type == FieldType::kString) {
    std::string_view text = ClipText(ReadText(record, field));
    sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_result_int64(context, ReadNumber(record, field));
  }
}

Status ApplyKey(Connection* db, const std::string& key_text) {
  const int rc = sqlite3_key(db->get(), key_text.data(), static_cast<int>(key_text.size()));
  if (rc != SQLITE_OK) return db->Error(rc);
  return db->Exec("PRAGMA cipher_page_size = " + std::to_string(kCipherPageSize));
}

Status SyncPath(const std::string& path, int flags) {
  const int fd = open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return Status::Os(kDriverError, errno, "cannot open " + path + " to sync it");
  const int rc = fsync(fd);
  const int err = errno;
  close(fd);
  if (rc != 0) return Status::Os(kDriverError, err, "cannot sync " + path);
  return Status::Ok();
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

void RemoveSideFiles(const std::string& path) {
  for (const char* suffix : {"-wal", "-shm", "-journal"}) unlink((path + suffix).c_str());
}

}  // namespace

Status PrepareConnection(sqlite3* db) {
  KEYFILE_RETURN_IF_ERROR(RegisterCollation(db));
  const int rc =
      sqlite3_create_function(db, "twiq_key_value", 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                              KeyValueFunction, nullptr, nullptr);
  if (rc != SQLITE_OK) return Status::Sqlite(db, rc);
  sqlite3_busy_timeout(db, kDefaultBusyMilliseconds);
  return Status::Ok();
}

Status OpenDatabase(const std::string& path, const std::string& password, const Layout& layout,
                    Connection* db, DatabaseInfo* info) {
  *info = DatabaseInfo();
  KEYFILE_RETURN_IF_ERROR(db->Open(path, SQLITE_OPEN_READWRITE));
  // Look at the raw bytes through SQLite's own descriptor: a second descriptor
  // of the database, once closed, would drop SQLite's locks on it.
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db->get(), "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
      file == nullptr || file->pMethods == nullptr) {
    return Status::Error(kDriverError, "cannot inspect " + path);
  }
  sqlite3_int64 size = 0;
  if (file->pMethods->xFileSize(file, &size) != SQLITE_OK) {
    return Status::Error(kDriverError, "cannot read the size of " + path);
  }
  if (size == 0) return Status::Error(kDriverError, path + " is empty: not a keyed file");
  unsigned char header[kHeaderBytes] = {};
  const int rc = file->pMethods->xRead(file, header, sizeof(header), 0);
  if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) {
    return Status(kDriverError, rc, "cannot read " + path);
  }
  const bool plain = size >= 16 && std::memcmp(header, kPlainHeader, 16) == 0;
  if (plain) {
    if (!ClipText(password).empty()) {
      return Status::Error(kBadPassword, path + " is not protected by a password");
    }
    // A truncated database would only fail later, part way through a read. (Its
    // WAL may still hold the missing pages after a crash mid-checkpoint.)
    struct stat wal = {};
    const bool wal_pending = stat((path + "-wal").c_str(), &wal) == 0 && wal.st_size > 0;
    const std::uint32_t raw_page = (std::uint32_t{header[16]} << 8) | header[17];
    const std::uint64_t page_size = raw_page == 1 ? 65536 : raw_page;
    const std::uint32_t pages = BigEndian32(header + 28);
    const bool pages_valid = BigEndian32(header + 92) == BigEndian32(header + 24);
    if (!wal_pending && page_size >= 512 && pages_valid && pages > 0 &&
        static_cast<std::uint64_t>(size) < pages * page_size) {
      return Status::Error(kDriverError, path + " is truncated");
    }
  } else {
    if (size < kCipherPageSize || size % kCipherPageSize != 0) {
      return Status::Error(kDriverError, path + " is damaged or not a keyed file");
    }
    if (ClipText(password).empty()) {
      return Status::Error(kBadPassword, path + " is protected by a password");
    }
    Salt salt;
    std::memcpy(salt.data(), header, salt.size());
    info->encrypted = true;
    info->key_spec = KeySpec(ClipText(password), salt);
    KEYFILE_RETURN_IF_ERROR(ApplyKey(db, info->key_spec));
  }
  KEYFILE_RETURN_IF_ERROR(PrepareConnection(db->get()));

  Statement meta;
  Status status = db->Prepare(std::string("SELECT name, value FROM ") + kMetaTable, &meta);
  if (!status.ok()) {
    if ((status.driver_code() & 0xff) == SQLITE_NOTADB) {
      return info->encrypted
                 ? Status(kBadPassword, status.driver_code(), "wrong password for " + path)
                 : Status(kDriverError, status.driver_code(), path + " is not a database");
    }
    if ((status.driver_code() & 0xff) == SQLITE_ERROR) {
      return Status(kDriverError, status.driver_code(), path + " is not a keyed file");
    }
    return status;
  }
  std::string format;
  std::string signature;
  std::string keys_valid;
  while (true) {
    const int step = meta.Step();
    if (step == SQLITE_DONE) break;
    if (step != SQLITE_ROW) return db->Error(step);
    const std::string_view name = meta.ColumnText(0);
    const std::string_view value = meta.ColumnText(1);
    if (name == "format") format = value;
    if (name == "layout") signature = value;
    if (name == "keys_valid") keys_valid = value;
  }
  if (format != kFormatVersion) {
    return Status::Error(kDriverError, path + " is a keyed file of an unknown format");
  }
  if (signature != layout.signature) {
    return Status::Error(kLayoutMismatch, path + " holds another record layout");
  }
  info->keys_valid = keys_valid == "1";
  return Status::Ok();
}

Status CreateDatabase(const std::string& path, const std::string& password, const Layout& layout) {
  Connection db;
  KEYFILE_RETURN_IF_ERROR(db.Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
  if (!ClipText(password).empty()) {
    Salt salt;
    KEYFILE_RETURN_IF_ERROR(NewSalt(&salt));
    KEYFILE_RETURN_IF_ERROR(ApplyKey(&db, KeySpec(ClipText(password), salt)));
  } else {
    KEYFILE_RETURN_IF_ERROR(db.Exec("PRAGMA page_size = " + std::to_string(kCipherPageSize)));
  }
  KEYFILE_RETURN_IF_ERROR(PrepareConnection(db.get()));
  KEYFILE_RETURN_IF_ERROR(db.Exec("BEGIN;\n" + CreateSchemaSql(layout) + "COMMIT;"));
  // Readers never wait for a writer, and a writer never waits for readers.
  return db.Exec("PRAGMA journal_mode = WAL");
}

Status ExportDatabase(Connection* source, const DatabaseInfo& info, const std::string& path) {
  Statement attach;
  KEYFILE_RETURN_IF_ERROR(source->Prepare("ATTACH DATABASE ?1 AS twiq_copy KEY ?2", &attach));
  attach.BindText(1, path);
  attach.BindText(2, info.key_spec);
  const int rc = attach.Step();
  attach.Reset();
  if (rc != SQLITE_DONE) return source->Error(rc);
  Status status = source->Exec(std::string(info.encrypted ? "PRAGMA twiq_copy.cipher_page_size = "
                                                          : "PRAGMA twiq_copy.page_size = ") +
                               std::to_string(kCipherPageSize));
  if (status.ok()) status = source->Exec("SELECT sqlcipher_export('twiq_copy')");
  if (status.ok()) status = source->Exec("PRAGMA twiq_copy.journal_mode = WAL");
  Status detach = source->Exec("DETACH DATABASE twiq_copy");
  return status.ok() ? detach : status;
}

Status RebuildKeys(Connection* db, const Layout& layout) {
  const FileDeclaration& d = *layout.declaration;
  Statement check;
  KEYFILE_RETURN_IF_ERROR(db->Prepare(
      std::string("SELECT count(*) FROM ") + kRecordsTable + " WHERE length(image) <> ?1", &check));
  check.BindInt(1, static_cast<std::int64_t>(d.record_length));
  const int rc = check.Step();
  if (rc != SQLITE_ROW) return db->Error(rc);
  if (check.ColumnInt(0) != 0) {
    return Status::Error(kDriverError, "the file holds records of the wrong length");
  }
  check.Reset();
  std::string sql = DropIndexesSql(layout);
  if (!layout.key_fields.empty()) {
    sql += std::string("UPDATE ") + kRecordsTable + " SET ";
    for (std::size_t i = 0; i < layout.key_fields.size(); ++i) {
      const Field& field = d.fields[static_cast<std::size_t>(layout.key_fields[i])];
      sql += (i > 0 ? ", " : "") + layout.key_columns[i] + " = twiq_key_value(image, " +
             std::to_string(field.offset) + ", " + std::to_string(static_cast<int>(field.type)) +
             ", " + std::to_string(FieldWidth(field)) + ")";
    }
    sql += ";\n";
  }
  sql += CreateIndexesSql(layout);
  sql += std::string("UPDATE ") + kMetaTable + " SET value = '1' WHERE name = 'keys_valid';";
  db->ClearCache();
  return db->Exec(sql);
}

Status MakeTempFile(const std::string& path, std::string* temp_path) {
  std::string name = path + ".new-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    const int err = errno;
    return Status::Os(err == EACCES ? kAccessDenied : kDriverError, err,
                      "cannot create a file beside " + path);
  }
  close(fd);
  *temp_path = name;
  return Status::Ok();
}

Status ReplaceFile(const std::string& temp_path, const std::string& path) {
  KEYFILE_RETURN_IF_ERROR(SyncPath(temp_path, O_RDONLY));
  // SQLite's side files belong to the old file; left behind they would be
  // applied to the new one.
  RemoveSideFiles(path);
  if (rename(temp_path.c_str(), path.c_str()) != 0) {
    const int err = errno;
    return Status::Os(err == EACCES ? kAccessDenied : kDriverError, err,
                      "cannot put the new file in place of " + path);
  }
  return SyncPath(FolderOf(path), O_RDONLY | O_DIRECTORY);
}

int RemoveDatabaseFiles(const std::string& path) {
  const int err = unlink(path.c_str()) == 0 ? 0 : errno;
  RemoveSideFiles(path);
  return err;
}

}  // namespace rt::keyfile
