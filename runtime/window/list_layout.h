// Where the rows of a list control lie, the same on every display and in the runtime's own
// pointer handling, so that a row drawn under the pointer is the row a press selects.
//
// A list `height` pixels high draws a one-pixel frame and inside it a header band one
// character cell high when any column of its list format has a header, then rows one
// character cell high from its first visible row. The first visible row keeps the selected row in view: 1 while the selection lies on the
// first page, else the row that puts the selection on the last whole line.
//
// LayoutList, ListRowAt and ListHasHeader are pure and thread-safe. LayoutOfList reads a
// window through its public (locking) API: never call it while holding that window's lock.
#ifndef RUNTIME_WINDOW_LIST_LAYOUT_H_
#define RUNTIME_WINDOW_LIST_LAYOUT_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/window/list_format.h"
#include "runtime/window/metrics.h"

namespace rt {

class Window;

struct ListLayout {
  int border = 1;         // the frame around the list: header and rows lie inside it
  int header_height = 0;  // 0 without headers
  int row_height = 1;     // at least 1
  int first_row = 1;      // the 1-based row shown at the top
  int visible_rows = 0;   // whole rows that fit inside the frame below the header
  friend bool operator==(const ListLayout&, const ListLayout&) = default;
};

// True when any of `columns` has a header.
bool ListHasHeader(const std::vector<ListColumn>& columns);
// True when any column of list format `format` has a header; a malformed format has none
// (it shows no columns).
bool ListHasHeader(std::string_view format);

// The layout of a list `height` pixels high in a window whose character cell is `m`, with
// `selected_row` selected (1-based; 0 or less: none).
ListLayout LayoutList(bool has_header, int64_t height, const FontMetrics& m, int selected_row);

// The 1-based row at `y` (pixels from the list's top edge), not bounded by the row count;
// 0 on the top frame line, the header band or above the list.
int ListRowAt(const ListLayout& layout, int64_t y);

// The layout of list control `feq` of `w` as the window stands: header from its list format,
// height from its pixel geometry, the window's character cell, its selected row. The reads are
// not one snapshot; callers on the window's owner thread see a consistent list, since only
// that thread changes it.
ListLayout LayoutOfList(const Window& w, int feq);

}  // namespace rt

#endif  // RUNTIME_WINDOW_LIST_LAYOUT_H_
