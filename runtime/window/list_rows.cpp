#include "runtime/window/list_rows.h"

#include <algorithm>
#include <string_view>

#include "runtime/window/property_codes.h"
#include "runtime/window/window.h"

namespace rt {

int ListRowCount(const Window& w, int feq) {
  if (auto source = w.GetListSource(feq)) return source->RowCount();
  const std::string items = w.Get(feq, prop::kChoiceList).AsText();
  if (items.empty()) return 0;
  return static_cast<int>(std::count(items.begin(), items.end(), '|')) + 1;
}

std::string ListCell(const Window& w, int feq, int row, int column) {
  if (auto source = w.GetListSource(feq)) return source->Cell(row, column);
  if (column != 0 || row < 1) return "";
  const std::string items = w.Get(feq, prop::kChoiceList).AsText();
  std::string_view rest = items;
  for (int i = 1; i < row; ++i) {
    const size_t bar = rest.find('|');
    if (bar == std::string_view::npos) return "";
    rest.remove_prefix(bar + 1);
  }
  return std::string(rest.substr(0, rest.find('|')));
}

}  // namespace rt
