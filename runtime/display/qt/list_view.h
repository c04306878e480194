// The list control: rows of its list source in the columns of its list format.
//
// Geometry follows the runtime's list layout (runtime/window/list_layout.h), so that a point
// maps to a row the same way here as in the runtime's pointer handling. Selection comes from
// the model only (SelectedRow); the widget never selects by itself, because pointer and keys
// reach the runtime as messages. GUI thread only.
#ifndef RUNTIME_DISPLAY_QT_LIST_VIEW_H_
#define RUNTIME_DISPLAY_QT_LIST_VIEW_H_

#include <QColor>
#include <QStringList>
#include <QTreeWidget>
#include <optional>
#include <vector>

#include "runtime/window/list_format.h"
#include "runtime/window/list_layout.h"
#include "runtime/window/metrics.h"

namespace rt::qt {

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
