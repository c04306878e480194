// Where a list's rows lie: the header band, whole visible rows, scrolling that keeps the
// selection in view, the row under a point, and the VisibleRows a window reports from them.
#include "runtime/window/list_layout.h"

#include <gtest/gtest.h>

#include "runtime/window/property_codes.h"
#include "runtime/window/window.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

constexpr FontMetrics kCell{6, 13};  // the default 8-point cell

struct LayoutCase {
  const char* name;
  bool has_header;
  int64_t height;
  int selected;
  ListLayout expected;  // border, header_height, row_height, first_row, visible_rows
};

// Heights include the one-pixel frame above and below.
const LayoutCase kLayouts[] = {
    {"NoHeader", false, 67, 0, {1, 0, 13, 1, 5}},
    {"HeaderTakesOneCell", true, 67, 0, {1, 13, 13, 1, 4}},
    {"PartRowIsNotVisible", true, 66, 0, {1, 13, 13, 1, 3}},
    {"SelectionOnLastVisibleLine", true, 67, 4, {1, 13, 13, 1, 4}},
    {"SelectionPastThePageScrolls", true, 67, 5, {1, 13, 13, 2, 4}},
    {"ScrolledWithoutHeader", false, 67, 12, {1, 0, 13, 8, 5}},
    {"ShorterThanTheHeader", true, 10, 3, {1, 13, 13, 3, 0}},
    {"NegativeHeight", false, -5, 0, {1, 0, 13, 1, 0}},
};

TEST(ListLayoutTest, LaysOutHeaderRowsAndScroll) {
  for (const LayoutCase& c : kLayouts) {
    EXPECT_EQ(LayoutList(c.has_header, c.height, kCell, c.selected), c.expected) << c.name;
  }
}

struct RowCase {
  ListLayout layout;
  int64_t y;
  int row;
};

const RowCase kRows[] = {
    {{1, 0, 13, 1, 5}, -1, 0},  // above the list
    {{1, 0, 13, 1, 5}, 0, 0},   // on the frame
    {{1, 0, 13, 1, 5}, 1, 1},   {{1, 0, 13, 1, 5}, 13, 1},
    {{1, 0, 13, 1, 5}, 14, 2},  {{1, 13, 13, 1, 4}, 1, 0},  // on the header band
    {{1, 13, 13, 1, 4}, 13, 0}, {{1, 13, 13, 1, 4}, 14, 1},
    {{1, 13, 13, 1, 4}, 27, 2}, {{1, 13, 13, 7, 4}, 14, 7},  // scrolled: the first visible row
    {{1, 13, 13, 7, 4}, 41, 9}, {{1, 0, 13, 7, 5}, 1, 7},
};

TEST(ListLayoutTest, RowAtAPointHonoursHeaderAndScroll) {
  for (const RowCase& c : kRows) {
    EXPECT_EQ(ListRowAt(c.layout, c.y), c.row)
        << "header " << c.layout.header_height << " first " << c.layout.first_row << " y " << c.y;
  }
}

struct ControlCase {
  const char* name;
  ControlType type;
  const char* format;
  int selected;
  ListLayout expected;
};

// A list 67 pixels high (65 inside its frame) in the default cell. Only a list draws a
// header band; a malformed format shows no columns, so no header either.
const ControlCase kControls[] = {
    {"ListWithHeader", ControlType::kList, "80L(2)|M~Name~@s20@40R@n5@", 0, {1, 13, 13, 1, 4}},
    {"HeaderOnSecondColumn", ControlType::kList, "80L@s20@40R~Qty~@n5@", 6, {1, 13, 13, 3, 4}},
    {"ListWithoutHeader", ControlType::kList, "80L(2)|M@s20@", 6, {1, 0, 13, 2, 5}},
    {"MalformedFormat", ControlType::kList, "80L~Name", 0, {1, 0, 13, 1, 5}},
    {"DropListDrawsNoHeader", ControlType::kDropList, "80L~Name~@s20@", 0, {1, 0, 13, 1, 5}},
};

TEST(ListLayoutTest, WindowReportsTheLayoutOfItsList) {
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(c.name);
    std::shared_ptr<Window> w = OpenWindow(1, "List$Window");
    w->Set(0, prop::kPixels, 1);
    ASSERT_TRUE(w->AddControl({1, c.type, "?LIST", 0, {}}).ok());
    w->Set(1, prop::kYPos, 30);
    w->Set(1, prop::kHeight, 67);
    w->Set(1, prop::kListFormat, c.format);
    w->Set(1, prop::kSelectedRow, c.selected);
    if (c.type == ControlType::kList) {
      EXPECT_EQ(LayoutOfList(*w, 1), c.expected);
    }
    EXPECT_EQ(w->Get(1, prop::kVisibleRows).AsInt(), c.expected.visible_rows);
    CloseWindow(w->ref());
  }
}

}  // namespace
}  // namespace rt
