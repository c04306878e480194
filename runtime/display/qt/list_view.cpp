#include "runtime/display/qt/list_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace rt::qt {
namespace {

Qt::Alignment AlignOf(char justify) {
  switch (justify) {
    case 'R':
    case 'D':
      return Qt::AlignRight;
    case 'C':
      return Qt::AlignHCenter;
    default:
      return Qt::AlignLeft;
  }
}

// Paints cells one character cell high: the model's selection in the selection colours,
// justification and indent of the column, and grid lines when the list has a grid colour.
class CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(ListView* list) : QStyledItemDelegate(list), list_(list) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                 list_->state().metrics.char_height);
  }

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const ListState& s = list_->state();
    const QPalette& pal = list_->palette();
    const bool selected = index.row() + 1 == s.selected;
    const QRect r = option.rect;
    if (selected) {
      p->fillRect(r, s.selected_fill.value_or(pal.color(QPalette::Highlight)));
    }
    const size_t column = static_cast<size_t>(index.column());
    const ListColumn* c = column < s.columns.size() ? &s.columns[column] : nullptr;
    const int indent =
        c ? static_cast<int>(DialogXToPixels(c->indent, s.metrics)) : s.metrics.char_width / 2;
    const Qt::Alignment align = c ? AlignOf(c->justify) : Qt::AlignLeft;
    QRect text = r.adjusted(2, 0, -2, 0);
    if (align & Qt::AlignRight) {
      text.adjust(0, 0, -indent, 0);
    } else {
      text.adjust(indent, 0, 0, 0);
    }
    QColor pen = selected ? s.selected_text.value_or(pal.color(QPalette::HighlightedText))
                          : s.text.value_or(pal.color(QPalette::Text));
    if (!list_->isEnabled()) pen = pal.color(QPalette::Disabled, QPalette::Text);
    p->setPen(pen);
    p->setFont(list_->font());
    p->drawText(text, static_cast<int>(align | Qt::AlignVCenter), index.data().toString());
    if (s.grid) {
      p->setPen(*s.grid);
      p->drawLine(r.bottomLeft(), r.bottomRight());
      p->drawLine(r.topRight(), r.bottomRight());
    }
  }

 private:
  ListView* list_;
};

}  // namespace

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setIndentation(0);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setItemDelegate(new CellDelegate(this));
  // The one-pixel frame of the shared list layout (list_layout.h): header and rows inside it.
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  viewport()->setMouseTracking(true);
}

void ListView::SetState(ListState state) {
  const bool columns_changed = state.columns != state_.columns;
  const bool rows_changed = state.rows != state_.rows || columns_changed;
  state_ = std::move(state);
  const int columns = std::max<int>(1, static_cast<int>(state_.columns.size()));
  if (rows_changed) {
    clear();
    setColumnCount(columns);
    QStringList headers;
    for (int c = 0; c < columns; ++c) {
      const ListColumn* col =
          c < static_cast<int>(state_.columns.size()) ? &state_.columns[c] : nullptr;
      headers << (col ? QString::fromStdString(col->header) : QString());
    }
    setHeaderLabels(headers);
    setHeaderHidden(!ListHasHeader(state_.columns));
    QList<QTreeWidgetItem*> items;
    for (const std::vector<QString>& row : state_.rows) {
      auto* item = new QTreeWidgetItem;
      for (int c = 0; c < columns && c < static_cast<int>(row.size()); ++c)
        item->setText(c, row[c]);
      items << item;
    }
    addTopLevelItems(items);
  }
  for (int c = 0; c < static_cast<int>(state_.columns.size()); ++c) {
    const ListColumn& col = state_.columns[c];
    setColumnWidth(c, static_cast<int>(DialogXToPixels(col.width, state_.metrics)));
    const char hj = col.header_justify ? col.header_justify : col.justify;
    if (QTreeWidgetItem* h = headerItem()) h->setTextAlignment(c, AlignOf(hj) | Qt::AlignVCenter);
  }
  if (state_.columns.empty()) setColumnWidth(0, std::max(1, viewport()->width()));
  setVerticalScrollBarPolicy(state_.vscroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(state_.hscroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  QPalette pal = palette();
  const QPalette defaults = QApplication::palette(this);
  pal.setColor(QPalette::Base, state_.background.value_or(defaults.color(QPalette::Base)));
  setPalette(pal);
  Relayout();
  viewport()->update();
}

void ListView::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  Relayout();
}

void ListView::Relayout() {
  const bool has_header = !isHeaderHidden();
  // The header band and the rows are exactly one character cell high each.
  header()->setFixedHeight(std::max(1, state_.metrics.char_height));
  layout_ = LayoutList(has_header, height(), state_.metrics, state_.selected);
  verticalScrollBar()->setValue(layout_.first_row - 1);
}

}  // namespace rt::qt
