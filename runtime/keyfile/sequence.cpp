#include "runtime/keyfile/sequence.h"

#include <string>

namespace rt::keyfile {
namespace {

// What bounds one index range beyond its leading equalities.
enum class Range : std::uint64_t {
  kNone = 0,         // Nothing: the whole range of the equalities.
  kComponent = 1,    // The component after the equalities is past the anchor's.
  kIdStrict = 2,     // Same key, rowid past the anchor's.
  kIdInclusive = 3,  // Same key, rowid at or past the anchor's.
};

struct Shape {
  int order;
  bool forward;
  int equalities;
  Range range;
};

constexpr std::uint64_t kByIdStatement = std::uint64_t{1} << 40;

std::uint64_t ShapeId(const Shape& shape) {
  return static_cast<std::uint64_t>(shape.order + 1) |
         (static_cast<std::uint64_t>(shape.forward) << 12) |
         (static_cast<std::uint64_t>(shape.equalities) << 13) |
         (static_cast<std::uint64_t>(shape.range) << 20);
}

const std::vector<std::string>& NoColumns() {
  static const std::vector<std::string> kNone;
  return kNone;
}

std::string ShapeSql(const Layout& layout, const Shape& shape) {
  const std::vector<std::string>& columns =
      shape.order == kFileOrder ? NoColumns()
                                : layout.keys[static_cast<std::size_t>(shape.order)].columns;
  std::string sql = std::string("SELECT id, changes, image, blob FROM ") + kRecordsTable;
  std::string where;
  int param = 1;
  auto add = [&where](const std::string& term) { where += (where.empty() ? "" : " AND ") + term; };
  for (int i = 0; i < shape.equalities; ++i) {
    add(columns[static_cast<std::size_t>(i)] + " = ?" + std::to_string(param++));
  }
  const char* past = shape.forward ? " > ?" : " < ?";
  const char* at_or_past = shape.forward ? " >= ?" : " <= ?";
  switch (shape.range) {
    case Range::kNone:
      break;
    case Range::kComponent:
      add(columns[static_cast<std::size_t>(shape.equalities)] + past + std::to_string(param++));
      break;
    case Range::kIdStrict:
      add("id" + (past + std::to_string(param++)));
      break;
    case Range::kIdInclusive:
      add("id" + (at_or_past + std::to_string(param++)));
      break;
  }
  if (!where.empty()) sql += " WHERE " + where;
  const char* direction = shape.forward ? "" : " DESC";
  sql += " ORDER BY ";
  for (std::size_t i = static_cast<std::size_t>(shape.equalities); i < columns.size(); ++i) {
    sql += columns[i] + direction + ", ";
  }
  sql += std::string("id") + direction + " LIMIT ?" + std::to_string(param);
  return sql;
}

// Runs one range and appends its rows to *rows, up to `limit` rows in all.
Status RunShape(Connection* db, const Layout& layout, const Shape& shape,
                const std::vector<KeyValue>& equal, const KeyValue* component, std::int64_t rowid,
                int limit, RowBuffer* rows) {
  Status status;
  Statement* stmt = db->Cached(
      ShapeId(shape), [&] { return ShapeSql(layout, shape); }, &status);
  if (stmt == nullptr) return status;
  ScopedReset reset(stmt);
  int param = 1;
  for (int i = 0; i < shape.equalities; ++i) {
    BindKeyValue(stmt, param++, equal[static_cast<std::size_t>(i)]);
  }
  if (shape.range == Range::kComponent) BindKeyValue(stmt, param++, *component);
  if (shape.range == Range::kIdStrict || shape.range == Range::kIdInclusive) {
    stmt->BindInt(param++, rowid);
  }
  stmt->BindInt(param, limit - static_cast<int>(rows->size()));
  while (true) {
    const int rc = stmt->Step();
    if (rc == SQLITE_DONE) return Status::Ok();
    if (rc != SQLITE_ROW) return db->Error(rc);
    Row& row = rows->Append();
    row.id = stmt->ColumnInt(0);
    row.changes = stmt->ColumnInt(1);
    std::span<const std::byte> image = stmt->ColumnBlob(2);
    row.image.assign(image.begin(), image.end());
    std::span<const std::byte> blob = stmt->ColumnBlob(3);
    row.blob.assign(blob.begin(), blob.end());
  }
}

int ComparePrefix(const std::vector<KeyValue>& values, const std::vector<KeyValue>& fixed) {
  for (std::size_t i = 0; i < fixed.size() && i < values.size(); ++i) {
    const int c = CompareKeyValues(values[i], fixed[i]);
    if (c != 0) return c;
  }
  return 0;
}

}  // namespace

Status FetchRows(Connection* db, const Layout& layout, int order,
                 const std::vector<KeyValue>& fixed, const Anchor& anchor, bool forward, int limit,
                 RowBuffer* rows) {
  rows->Clear();
  if (limit <= 0) return Status::Ok();
  if (order == kFileOrder) {
    Range range = Range::kNone;
    if (anchor.kind == Anchor::Kind::kRecord) range = Range::kIdInclusive;
    if (anchor.kind == Anchor::Kind::kAfterRecord) range = Range::kIdStrict;
    return RunShape(db, layout, {order, forward, 0, range}, {}, nullptr, anchor.rowid, limit, rows);
  }
  const KeyPlan& key = layout.keys[static_cast<std::size_t>(order)];
  const int components = static_cast<int>(key.columns.size());
  const int fixed_count = static_cast<int>(fixed.size());
  bool from_start = anchor.kind == Anchor::Kind::kStart;
  if (!from_start) {
    if (static_cast<int>(anchor.values.size()) != components) {
      return Status::Error(kRecordNotFound, "the position does not belong to this key");
    }
    const int c = ComparePrefix(anchor.values, fixed);
    if (c != 0) {
      // The anchor lies outside the fixed range: all of it or none of it follows.
      if ((c < 0) != forward) return Status::Ok();
      from_start = true;
    }
  }
  if (from_start) {
    return RunShape(db, layout, {order, forward, fixed_count, Range::kNone}, fixed, nullptr, 0,
                    limit, rows);
  }
  if (anchor.kind != Anchor::Kind::kAfterRecord || !key.unique) {
    Range range = Range::kNone;
    if (anchor.kind == Anchor::Kind::kRecord) range = Range::kIdInclusive;
    if (anchor.kind == Anchor::Kind::kAfterRecord) range = Range::kIdStrict;
    KEYFILE_RETURN_IF_ERROR(RunShape(db, layout, {order, forward, components, range}, anchor.values,
                                     nullptr, anchor.rowid, limit, rows));
  }
  for (int j = components - 1; j >= fixed_count && static_cast<int>(rows->size()) < limit; --j) {
    KEYFILE_RETURN_IF_ERROR(RunShape(db, layout, {order, forward, j, Range::kComponent},
                                     anchor.values, &anchor.values[static_cast<std::size_t>(j)], 0,
                                     limit, rows));
  }
  return Status::Ok();
}

Status FetchRowById(Connection* db, std::int64_t rowid, Row* row, bool* found) {
  Status status;
  Statement* stmt = db->Cached(
      kByIdStatement,
      [] {
        return std::string("SELECT id, changes, image, blob FROM ") + kRecordsTable +
               " WHERE id = ?1";
      },
      &status);
  if (stmt == nullptr) return status;
  ScopedReset reset(stmt);
  stmt->BindInt(1, rowid);
  const int rc = stmt->Step();
  *found = rc == SQLITE_ROW;
  if (rc == SQLITE_DONE) return Status::Ok();
  if (rc != SQLITE_ROW) return db->Error(rc);
  row->id = stmt->ColumnInt(0);
  row->changes = stmt->ColumnInt(1);
  std::span<const std::byte> image = stmt->ColumnBlob(2);
  row->image.assign(image.begin(), image.end());
  std::span<const std::byte> blob = stmt->ColumnBlob(3);
  row->blob.assign(blob.begin(), blob.end());
  return Status::Ok();
}

}  // namespace rt::keyfile
