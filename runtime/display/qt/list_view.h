// The list control: rows of its list source in the columns of its list format.
//
// Geometry is fixed so that a point maps to a row the same way on every display: a header
// band one character cell high when any column has a header, then rows one character cell
// high from the first visible row (ListLayout). Selection comes from the model only
// (SelectedRow); the widget never selects by itself, because pointer and keys reach the
// runtime as messages. GUI thread only, except ListLayout and ListRowAt (pure).
#ifndef RUNTIME_DISPLAY_QT_LIST_VIEW_H_
#define RUNTIME_DISPLAY_QT_LIST_VIEW_H_

#include <QColor>
#include <QStringList>
#include <QTreeWidget>
#include <optional>
#include <vector>

#include "runtime/window/list_format.h"
#include "runtime/window/metrics.h"

namespace rt::qt {

struct ListLayout {
  int header_height = 0;  // 0 without headers
  int row_height = 1;
  int first_row = 1;     // the 1-based row shown at the top
  int visible_rows = 0;  // whole rows that fit below the header
};

// The layout of a list `height` pixels high. The first visible row keeps the selected row in
// view: 1 while the selection lies on the first page, else the row that puts the selection
// on the last visible line.
ListLayout LayoutList(bool has_header, int64_t height, const FontMetrics& m, int selected_row);
// The 1-based row at `y` (pixels from the list's top edge); 0 on the header or above it.
int ListRowAt(const ListLayout& layout, int64_t y);

struct ListState {
  std::vector<ListColumn> columns;         // empty: one column as wide as the list
  std::vector<std::vector<QString>> rows;  // cells by row, then column
  int selected = 0;                        // 1-based; 0 none
  FontMetrics metrics;
  bool vscroll = false;
  bool hscroll = false;
  std::optional<QColor> text, background, selected_text, selected_fill, grid;
};

class ListView : public QTreeWidget {
 public:
  explicit ListView(QWidget* parent);
  void SetState(ListState state);
  const ListState& state() const { return state_; }
  const ListLayout& layout() const { return layout_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Relayout();

  ListState state_;
  ListLayout layout_;
};

}  // namespace rt::qt

#endif  // RUNTIME_DISPLAY_QT_LIST_VIEW_H_
