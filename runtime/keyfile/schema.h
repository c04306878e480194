// Internal to the driver: how a declaration maps onto the SQLite database.
//
// One table of records: the rowid (ties of a key are ordered by it), the record
// image (a BLOB of exactly the record length), the blob, a change counter that
// every write increments, and one column per field used by a key, holding the
// field's value (text without trailing spaces, compared by the collation
// "twiq_text": letter case and trailing spaces ignored; numbers as integers).
// One index per key, UNIQUE for keys without duplicates. A metadata table holds
// the format version, the layout signature and the keys-valid flag.

#ifndef RUNTIME_KEYFILE_SCHEMA_H_
#define RUNTIME_KEYFILE_SCHEMA_H_

#include <sqlite3.h>

#include <span>
#include <string>
#include <vector>

#include "runtime/keyfile/declaration.h"
#include "runtime/keyfile/position.h"
#include "runtime/keyfile/sqlite_db.h"

namespace rt::keyfile {

inline constexpr const char* kRecordsTable = "twiq_records";
inline constexpr const char* kMetaTable = "twiq_meta";
inline constexpr const char* kFormatVersion = "1";

// A key resolved against its declaration.
struct KeyPlan {
  std::vector<int> fields;           // Field indices, most significant first.
  std::vector<std::string> columns;  // Column of each component.
  bool unique = false;
};

// A declaration resolved once for the driver's use. REQUIRES: the declaration
// passed Validate().
struct Layout {
  explicit Layout(const FileDeclaration& declaration);

  const FileDeclaration* declaration;
  std::vector<int> key_fields;  // Distinct fields used by keys, by offset.
  std::vector<std::string> key_columns;
  std::vector<KeyPlan> keys;
  std::string signature;
};

// Registers the key collation on a connection (needed before any statement).
Status RegisterCollation(sqlite3* db);

// SQL creating the tables, the indexes and the metadata of an empty file.
std::string CreateSchemaSql(const Layout& layout);
std::string CreateIndexesSql(const Layout& layout);
std::string DropIndexesSql(const Layout& layout);
// ", c1, c2, ...": the key columns, each preceded by a comma.
std::string KeyColumnList(const Layout& layout);

// The value of key component `field` in `record`.
KeyValue ExtractKeyValue(const FileDeclaration& declaration, int field,
                         std::span<const std::byte> record);
// The values of all components of `key` in `record`.
std::vector<KeyValue> ExtractKey(const Layout& layout, int key, std::span<const std::byte> record);
// The same into *values, reusing its storage.
void ExtractKeyInto(const Layout& layout, int key, std::span<const std::byte> record,
                    std::vector<KeyValue>* values);
void BindKeyValue(Statement* stmt, int index, const KeyValue& value);
// Compares two values of one component as the key orders them.
int CompareKeyValues(const KeyValue& a, const KeyValue& b);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_SCHEMA_H_
