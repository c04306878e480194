#include "runtime/keyfile/schema.h"

#include <algorithm>

#include "runtime/keyfile/record.h"
#include "runtime/keyfile/text.h"

namespace rt::keyfile {
namespace {

int CollateKeyText(void*, int a_len, const void* a, int b_len, const void* b) {
  return CompareKeyText(
      std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(a_len)),
      std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(b_len)));
}

std::string ColumnName(const Field& field) {
  return "c" + std::to_string(field.offset) + "_" + std::to_string(FieldWidth(field));
}

}  // namespace

Layout::Layout(const FileDeclaration& d) : declaration(&d), signature(d.LayoutSignature()) {
  for (const Key& key : d.keys) {
    for (const std::string& component : key.components) {
      const int f = d.FindField(component);
      if (f < 0) continue;  // An invalid declaration: no operation will run.
      if (std::find(key_fields.begin(), key_fields.end(), f) == key_fields.end()) {
        key_fields.push_back(f);
      }
    }
  }
  std::sort(key_fields.begin(), key_fields.end(), [&d](int a, int b) {
    const Field& fa = d.fields[static_cast<std::size_t>(a)];
    const Field& fb = d.fields[static_cast<std::size_t>(b)];
    return fa.offset != fb.offset ? fa.offset < fb.offset : FieldWidth(fa) < FieldWidth(fb);
  });
  for (int f : key_fields) key_columns.push_back(ColumnName(d.fields[static_cast<std::size_t>(f)]));
  for (const Key& key : d.keys) {
    KeyPlan plan;
    plan.unique = key.unique;
    for (const std::string& component : key.components) {
      const int f = d.FindField(component);
      if (f < 0) continue;
      plan.fields.push_back(f);
      plan.columns.push_back(ColumnName(d.fields[static_cast<std::size_t>(f)]));
    }
    keys.push_back(std::move(plan));
  }
}

Status RegisterCollation(sqlite3* db) {
  const int rc = sqlite3_create_collation(db, "twiq_text", SQLITE_UTF8, nullptr, CollateKeyText);
  if (rc != SQLITE_OK) return Status::Sqlite(db, rc);
  return Status::Ok();
}

std::string CreateSchemaSql(const Layout& layout) {
  std::string sql =
      std::string("CREATE TABLE ") + kMetaTable + "(name TEXT PRIMARY KEY, value TEXT NOT NULL);\n";
  sql += std::string("CREATE TABLE ") + kRecordsTable +
         "(id INTEGER PRIMARY KEY, image BLOB NOT NULL, blob BLOB, "
         "changes INTEGER NOT NULL DEFAULT 0";
  for (std::size_t i = 0; i < layout.key_fields.size(); ++i) {
    const Field& field = layout.declaration->fields[static_cast<std::size_t>(layout.key_fields[i])];
    sql += ", " + layout.key_columns[i] +
           (field.type == FieldType::kString ? " TEXT COLLATE twiq_text" : " INTEGER");
  }
  sql += ");\n";
  sql += CreateIndexesSql(layout);
  sql += std::string("INSERT INTO ") + kMetaTable + " VALUES('format', " +
         SqlQuote(kFormatVersion) + "), ('layout', " + SqlQuote(layout.signature) +
         "), ('keys_valid', '1');\n";
  return sql;
}

std::string CreateIndexesSql(const Layout& layout) {
  std::string sql;
  for (std::size_t i = 0; i < layout.keys.size(); ++i) {
    const KeyPlan& key = layout.keys[i];
    sql += std::string(key.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") + "key" +
           std::to_string(i) + " ON " + kRecordsTable + "(";
    for (std::size_t j = 0; j < key.columns.size(); ++j) {
      sql += (j > 0 ? ", " : "") + key.columns[j];
    }
    sql += ");\n";
  }
  return sql;
}

std::string DropIndexesSql(const Layout& layout) {
  std::string sql;
  for (std::size_t i = 0; i < layout.keys.size(); ++i) {
    sql += "DROP INDEX IF EXISTS key" + std::to_string(i) + ";\n";
  }
  return sql;
}

std::string KeyColumnList(const Layout& layout) {
  std::string out;
  for (const std::string& column : layout.key_columns) out += ", " + column;
  return out;
}

KeyValue ExtractKeyValue(const FileDeclaration& declaration, int field,
                         std::span<const std::byte> record) {
  const Field& f = declaration.fields[static_cast<std::size_t>(field)];
  if (f.type == FieldType::kString) return std::string(ClipText(ReadText(record, f)));
  return ReadNumber(record, f);
}

std::vector<KeyValue> ExtractKey(const Layout& layout, int key, std::span<const std::byte> record) {
  std::vector<KeyValue> values;
  for (int f : layout.keys[static_cast<std::size_t>(key)].fields) {
    values.push_back(ExtractKeyValue(*layout.declaration, f, record));
  }
  return values;
}

void ExtractKeyInto(const Layout& layout, int key, std::span<const std::byte> record,
                    std::vector<KeyValue>* values) {
  const std::vector<int>& fields = layout.keys[static_cast<std::size_t>(key)].fields;
  values->resize(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Field& f = layout.declaration->fields[static_cast<std::size_t>(fields[i])];
    KeyValue& value = (*values)[i];
    if (f.type == FieldType::kString) {
      const std::string_view text = ClipText(ReadText(record, f));
      if (auto* existing = std::get_if<std::string>(&value)) {
        existing->assign(text);
      } else {
        value = std::string(text);
      }
    } else {
      value = ReadNumber(record, f);
    }
  }
}

void BindKeyValue(Statement* stmt, int index, const KeyValue& value) {
  if (const auto* number = std::get_if<std::int64_t>(&value)) {
    stmt->BindInt(index, *number);
  } else {
    stmt->BindText(index, std::get<std::string>(value));
  }
}

int CompareKeyValues(const KeyValue& a, const KeyValue& b) {
  const auto* na = std::get_if<std::int64_t>(&a);
  const auto* nb = std::get_if<std::int64_t>(&b);
  if (na != nullptr && nb != nullptr) return *na < *nb ? -1 : (*na > *nb ? 1 : 0);
  if (na == nullptr && nb == nullptr) {
    return CompareKeyText(std::get<std::string>(a), std::get<std::string>(b));
  }
  return na != nullptr ? -1 : 1;  // SQLite orders numbers before text.
}

}  // namespace rt::keyfile
