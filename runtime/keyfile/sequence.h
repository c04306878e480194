// Internal to the driver: reading records in a key order (or file order) from
// a point, in either direction, a batch at a time.
//
// SQLite 3.15 cannot seek an index with a row-value range ("(a,b,id) >
// (?,?,?)"), so the records after a point are read as a series of index
// ranges, the most specific first: same key and later rowid, then the same
// leading components and a greater next one, and so on. Each is one index
// seek; a batch stops as soon as it is full. Components fixed by a view's
// filter are equalities in every range, so a view never leaves its key range.

#ifndef RUNTIME_KEYFILE_SEQUENCE_H_
#define RUNTIME_KEYFILE_SEQUENCE_H_

#include <cstdint>
#include <vector>

#include "runtime/keyfile/position.h"
#include "runtime/keyfile/schema.h"
#include "runtime/keyfile/sqlite_db.h"

namespace rt::keyfile {

inline constexpr int kFileOrder = -1;

// Where a sequence stands.
struct Anchor {
  enum class Kind {
    kStart,        // Before the first record (forward) or after the last (backward).
    kValue,        // At a key value: forward reads keys >= it, backward keys <= it.
    kRecord,       // At a record (key value and rowid), which the next read returns.
    kAfterRecord,  // Just past a record read, in either direction.
  };
  Kind kind = Kind::kStart;
  std::vector<KeyValue> values;  // One per key component (none in file order).
  std::int64_t rowid = 0;
};

struct Row {
  std::int64_t id = 0;
  std::int64_t changes = 0;
  std::vector<std::byte> image;
  std::vector<std::byte> blob;
};

// Rows whose storage is kept between fetches, so that reading a record costs
// no allocation once the buffer has grown.
class RowBuffer {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Row& operator[](std::size_t i) { return rows_[i]; }
  const Row& operator[](std::size_t i) const { return rows_[i]; }
  Row& Append() {
    if (size_ == rows_.size()) rows_.emplace_back();
    return rows_[size_++];
  }
  void Clear() { size_ = 0; }

 private:
  std::vector<Row> rows_;
  std::size_t size_ = 0;
};

// Reads up to `limit` rows of `order` (a key index or kFileOrder) from
// `anchor` forward or backward, restricted to the records whose leading key
// components equal `fixed` (possibly none), into *rows (replacing its rows).
Status FetchRows(Connection* db, const Layout& layout, int order,
                 const std::vector<KeyValue>& fixed, const Anchor& anchor, bool forward, int limit,
                 RowBuffer* rows);

// Reads the record with `rowid` into *row; false when there is none.
Status FetchRowById(Connection* db, std::int64_t rowid, Row* row, bool* found);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_SEQUENCE_H_
