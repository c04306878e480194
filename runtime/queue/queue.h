// rt::Queue<Row>: an in-memory table of fixed-layout rows, used the way procedural business
// code uses it: through one buffer row (the "current record"). Code fills buffer() and appends
// or inserts it; reads copy a row into buffer(); Put() writes buffer() back over the current
// entry.
//
// Positions are 1-based: the first entry is at 1, the last at Count(). Position() is the
// position of the current entry, 0 when there is none (a fresh or freed queue, or after
// Delete() or Sort()).
//
// Keys are lists of QueueKey<Row> (see queue_key.h): the first component decides, the next
// ones break ties. Order is stable: InsertInOrder() puts a new row after every entry with an
// equal key, and Sort() keeps the relative order of entries with equal keys, so equal keys
// always stay in the order they were added.
//
// Operations that can fail return kQueueOk or kQueueEntryNotFound; a failed operation
// changes nothing: neither the entries, nor the buffer, nor the current position.
//
// Thread safety: none. A queue belongs to one thread at a time, like the record buffers of
// that thread. Rows are copied in and out; no reference to an entry outlives the call that
// returned it except where stated.
#ifndef RUNTIME_QUEUE_QUEUE_H_
#define RUNTIME_QUEUE_QUEUE_H_

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <type_traits>
#include <vector>

#include "runtime/queue/queue_key.h"

namespace rt {

// Result codes of queue operations, numbered as the runtime's error codes.
inline constexpr int kQueueOk = 0;
// No entry at the requested position, none with the requested key, or no current entry for
// Put() or Delete().
inline constexpr int kQueueEntryNotFound = 30;

template <class Row>
class Queue {
  static_assert(std::is_trivially_copyable_v<Row>, "queue rows are fixed-layout records");
  static_assert(std::is_default_constructible_v<Row>);

 public:
  using Key = QueueKey<Row>;
  using Keys = std::span<const Key>;

  // An empty queue; the buffer is value-initialised (Row{}).
  Queue() = default;

  // The buffer row. Reads copy into it, Append/Insert/Put copy from it. The reference stays
  // valid for the life of the queue.
  Row& buffer() { return buffer_; }
  const Row& buffer() const { return buffer_; }
  // Resets the buffer to Row{}.
  void ClearBuffer() { buffer_ = Row{}; }

  int64_t Count() const { return static_cast<int64_t>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  // Position of the current entry, 0 when there is none.
  int64_t Position() const { return position_; }

  // Adds the buffer at the end; it becomes the current entry.
  void Append() {
    rows_.push_back(buffer_);
    position_ = Count();
  }

  // Adds the buffer at `position` (1 to Count()+1), moving later entries down; it becomes the
  // current entry.
  int InsertAt(int64_t position) {
    if (position < 1 || position > Count() + 1) return kQueueEntryNotFound;
    rows_.insert(rows_.begin() + (position - 1), buffer_);
    position_ = position;
    return kQueueOk;
  }

  // Adds the buffer at its place in the order of `keys`: after the last entry whose key is
  // less than or equal to the buffer's. The new entry becomes the current entry.
  // REQUIRES: the entries are already in the order of `keys` (for example every entry was
  // added by InsertInOrder with the same keys, or Sort(keys) ran since). Otherwise the
  // place is some position in the queue (the search is binary), never an error.
  void InsertInOrder(Keys keys) {
    auto it = std::upper_bound(rows_.begin(), rows_.end(), buffer_,
                               [keys](const Row& a, const Row& b) { return Less(keys, a, b); });
    position_ = (it - rows_.begin()) + 1;
    rows_.insert(it, buffer_);
  }
  void InsertInOrder(std::initializer_list<Key> keys) {
    InsertInOrder(Keys(keys.begin(), keys.size()));
  }

  // Copies the entry at `position` into the buffer and makes it current.
  int GetAt(int64_t position) {
    if (position < 1 || position > Count()) return kQueueEntryNotFound;
    buffer_ = rows_[position - 1];
    position_ = position;
    return kQueueOk;
  }

  // Finds the first entry (lowest position) whose fields named by `keys` equal the buffer's,
  // copies it into the buffer and makes it current. Directions play no part. Linear in
  // Count(); works whatever the order of the entries.
  int GetByKey(Keys keys) {
    int64_t found = Find(keys, buffer_);
    if (found == 0) return kQueueEntryNotFound;
    return GetAt(found);
  }
  int GetByKey(std::initializer_list<Key> keys) {
    return GetByKey(Keys(keys.begin(), keys.size()));
  }

  // Position of the first entry whose `keys` fields equal those of `probe`, 0 when none.
  // Neither the buffer nor the current position changes.
  int64_t Find(Keys keys, const Row& probe) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (EqualKeys(keys, rows_[i], probe)) return static_cast<int64_t>(i) + 1;
    }
    return 0;
  }
  int64_t Find(std::initializer_list<Key> keys, const Row& probe) const {
    return Find(Keys(keys.begin(), keys.size()), probe);
  }

  // Writes the buffer over the current entry. The entry keeps its position, whatever its key.
  int Put() {
    if (position_ == 0) return kQueueEntryNotFound;
    rows_[position_ - 1] = buffer_;
    return kQueueOk;
  }

  // Deletes the current entry; later entries move up one place. Afterwards there is no
  // current entry, so a repeated Delete() or Put() cannot hit the entry that moved into the
  // freed place. The buffer keeps the deleted row.
  int Delete() {
    if (position_ == 0) return kQueueEntryNotFound;
    rows_.erase(rows_.begin() + (position_ - 1));
    position_ = 0;
    return kQueueOk;
  }

  // Sorts the entries by `keys`, stably. Afterwards there is no current entry.
  void Sort(Keys keys) {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [keys](const Row& a, const Row& b) { return Less(keys, a, b); });
    position_ = 0;
  }
  void Sort(std::initializer_list<Key> keys) { Sort(Keys(keys.begin(), keys.size())); }

  // Removes every entry. The buffer is kept.
  void Free() {
    rows_.clear();
    position_ = 0;
  }

  // Read-only view of the entry at `position`, without touching the buffer or the current
  // position. REQUIRES: 1 <= position <= Count(). Valid until the queue next changes.
  const Row& At(int64_t position) const { return rows_.at(static_cast<size_t>(position - 1)); }

  // Read-only iteration over the entries in position order; valid until the queue changes.
  auto begin() const { return rows_.begin(); }
  auto end() const { return rows_.end(); }

 private:
  static bool Less(Keys keys, const Row& a, const Row& b) {
    for (const Key& key : keys) {
      int c = key.Compare(a, b);
      if (c != 0) return c < 0;
    }
    return false;
  }

  static bool EqualKeys(Keys keys, const Row& a, const Row& b) {
    for (const Key& key : keys) {
      if (!key.Equal(a, b)) return false;
    }
    return true;
  }

  std::vector<Row> rows_;
  Row buffer_{};
  int64_t position_ = 0;
};

}  // namespace rt

#endif  // RUNTIME_QUEUE_QUEUE_H_
