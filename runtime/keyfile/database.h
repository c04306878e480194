// Internal to the driver: a keyed file as a SQLite database on disk: opening
// and recognising one, creating one, exporting a copy, and putting a new file
// in an old one's place.
//
// A file is only ever changed through SQLite once it has been recognised as
// ours (its metadata read and its layout matched); a file that is not ours is
// left byte for byte as it was.

#ifndef RUNTIME_KEYFILE_DATABASE_H_
#define RUNTIME_KEYFILE_DATABASE_H_

#include <string>

#include "runtime/keyfile/schema.h"
#include "runtime/keyfile/sqlite_db.h"

namespace rt::keyfile {

inline constexpr int kDefaultBusyMilliseconds = 5000;

struct DatabaseInfo {
  bool encrypted = false;
  bool keys_valid = true;
  std::string key_spec;  // What sqlite3_key() was given; "" when unprotected.
};

// Opens the keyed file at `path` with `password` (blank: unprotected) and checks
// that it is one of ours with `layout`. Errors: 36 wrong or missing password,
// 47 another layout, 90 not a keyed file (empty, truncated, garbage, another
// SQLite database) or SQLite failed. Keys left unbuilt are reported in
// info->keys_valid, not as an error.
Status OpenDatabase(const std::string& path, const std::string& password, const Layout& layout,
                    Connection* db, DatabaseInfo* info);

// Writes an empty keyed file of `layout` at `path`, which must be a new, empty
// file; protected by `password` unless it is blank.
Status CreateDatabase(const std::string& path, const std::string& password, const Layout& layout);

// Exports the open database `source` into the new empty file `path`, protected
// as the source is.
Status ExportDatabase(Connection* source, const DatabaseInfo& info, const std::string& path);

// Rebuilds every key of the open database: recomputes the key columns from
// the record images, recreates the indexes and sets the keys-valid flag.
// Error 40 when a unique key finds duplicates (the keys stay unbuilt).
Status RebuildKeys(Connection* db, const Layout& layout);

// Registers the SQL functions and collation the driver's statements use.
Status PrepareConnection(sqlite3* db);

// A new empty file beside `path` to build a replacement in.
Status MakeTempFile(const std::string& path, std::string* temp_path);
// Puts the finished file `temp_path` in `path`'s place: synced, SQLite's
// side files of the old file removed, atomically renamed, folder synced.
// REQUIRES: nobody has `path` open (the caller holds it exclusively).
Status ReplaceFile(const std::string& temp_path, const std::string& path);
// Removes `path` and SQLite's side files of it. Returns the errno of removing
// `path` itself (0 when it was removed).
int RemoveDatabaseFiles(const std::string& path);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_DATABASE_H_
