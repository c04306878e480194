// rt::ListSource: where a list, drop list or combo takes its rows from.
//
// A list shows the rows of its source through its column format. Sources are owned by the
// program (usually a queue, adapted by the queue module, or a fixed list of texts) and shared
// with the window; a display reads them on its own thread, so an implementation must be safe
// to read while the owner thread is between accept-loop steps (rows change only on the owner
// thread, and a change is announced by the owner through a redisplay of the list).
#ifndef RUNTIME_WINDOW_LIST_SOURCE_H_
#define RUNTIME_WINDOW_LIST_SOURCE_H_

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace rt {

class ListSource {
 public:
  virtual ~ListSource() = default;
  // Number of rows.
  virtual int RowCount() const = 0;
  // The text of column `column` (0-based) of row `row` (1-based); empty when out of range.
  virtual std::string Cell(int row, int column) const = 0;
};

// A fixed list of one-column rows, e.g. the "FROM" texts of a definition.
class TextListSource : public ListSource {
 public:
  explicit TextListSource(std::vector<std::string> rows) : rows_(std::move(rows)) {}
  int RowCount() const override {
    std::lock_guard lock(mu_);
    return static_cast<int>(rows_.size());
  }
  std::string Cell(int row, int column) const override {
    std::lock_guard lock(mu_);
    if (column != 0 || row < 1 || row > static_cast<int>(rows_.size())) return "";
    return rows_[row - 1];
  }
  void SetRows(std::vector<std::string> rows) {
    std::lock_guard lock(mu_);
    rows_ = std::move(rows);
  }

 private:
  mutable std::mutex mu_;
  std::vector<std::string> rows_;
};

}  // namespace rt

#endif  // RUNTIME_WINDOW_LIST_SOURCE_H_
