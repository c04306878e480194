#include "runtime/window/list_layout.h"

#include <algorithm>

#include "runtime/window/property_codes.h"
#include "runtime/window/window.h"

namespace rt {

bool ListHasHeader(const std::vector<ListColumn>& columns) {
  return std::any_of(columns.begin(), columns.end(),
                     [](const ListColumn& c) { return !c.header.empty(); });
}

bool ListHasHeader(std::string_view format) {
  std::vector<ListColumn> columns;
  if (!ParseListFormat(format, &columns).ok()) return false;
  return ListHasHeader(columns);
}

ListLayout LayoutList(bool has_header, int64_t height, const FontMetrics& m, int selected_row) {
  ListLayout l;
  l.row_height = std::max(1, m.char_height);
  l.header_height = has_header ? l.row_height : 0;
  const int64_t inside = height - 2 * l.border - l.header_height;
  l.visible_rows = static_cast<int>(std::max<int64_t>(0, inside) / l.row_height);
  const int visible = std::max(1, l.visible_rows);
  l.first_row = selected_row > visible ? selected_row - visible + 1 : 1;
  return l;
}

int ListRowAt(const ListLayout& layout, int64_t y) {
  const int64_t top = layout.border + layout.header_height;
  if (y < top) return 0;
  return static_cast<int>((y - top) / layout.row_height) + layout.first_row;
}

ListLayout LayoutOfList(const Window& w, int feq) {
  const bool has_header = ListHasHeader(w.Get(feq, prop::kListFormat).AsText());
  const int selected = static_cast<int>(w.Get(feq, prop::kSelectedRow).AsInt());
  return LayoutList(has_header, w.PixelRect(feq).height, w.metrics(), selected);
}

}  // namespace rt
