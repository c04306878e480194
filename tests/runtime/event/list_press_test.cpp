// Pointer and page keys on a list: a press selects the row drawn under the pointer, below a
// header band and from the first visible row of a scrolled list; the header band selects
// nothing.
#include <gtest/gtest.h>

#include <functional>

#include "runtime/event/input.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/message.h"
#include "tests/runtime/event/window_thread.h"

namespace rt {
namespace {

using testing::AddControl;
using testing::MakeWindow;
using testing::WindowThread;

constexpr int kTop = 20;     // the list's top edge in the window
constexpr int kCell = 13;    // rows and header band, in the default cell
constexpr int kHeight = 67;  // a frame line, five rows or a header band and four, a frame line
constexpr const char* kHeader = "80L(2)|M~Name~@s20@";
constexpr const char* kPlain = "80L(2)|M@s20@";

struct PressCase {
  const char* name;
  const char* format;
  int selected;  // before the input
  std::function<Status(WindowRef)> input;
  std::vector<std::string> events;
  int row;  // selected after the input
};

Status PressAt(WindowRef w, int y, uint32_t message = msg::kLButtonDown) {
  return SendMouse(w, message, 30, y);
}

// The middle of the n-th drawn line of the list inside its frame (the header band counts as a
// line).
int Line(int n) { return kTop + 1 + (n - 1) * kCell + kCell / 2; }

const PressCase kCases[] = {
    {"FirstRowWithoutHeader",
     kPlain,
     3,
     [](WindowRef w) { return PressAt(w, Line(1)); },
     {"NewSelection(1) row 1"},
     1},
    {"SecondRowBelowHeader",
     kHeader,
     0,
     [](WindowRef w) { return PressAt(w, Line(3)); },
     {"NewSelection(1) row 2"},
     2},
    {"FirstRowBelowHeader",
     kHeader,
     3,
     [](WindowRef w) { return PressAt(w, kTop + 1 + kCell); },  // its first pixel line
     {"NewSelection(1) row 1"},
     1},
    {"FrameSelectsNothing", kPlain, 3, [](WindowRef w) { return PressAt(w, kTop); }, {}, 3},
    {"HeaderSelectsNothing", kHeader, 3, [](WindowRef w) { return PressAt(w, Line(1)); }, {}, 3},
    {"HeaderDoubleClickAcceptsNothing",
     kHeader,
     3,
     [](WindowRef w) { return PressAt(w, Line(1), msg::kLButtonDblClk); },
     {},
     3},
    {"DoubleClickOnRowAccepts",
     kHeader,
     0,
     [](WindowRef w) { return PressAt(w, Line(2), msg::kLButtonDblClk); },
     {"NewSelection(1) row 1", "Accepted(1) row 1"},
     1},
    // Row 10 selected: four rows below a header show rows 7..10, five rows without one 6..10.
    {"ScrolledBelowHeader",
     kHeader,
     10,
     [](WindowRef w) { return PressAt(w, Line(3)); },
     {"NewSelection(1) row 8"},
     8},
    {"ScrolledWithoutHeader",
     kPlain,
     10,
     [](WindowRef w) { return PressAt(w, Line(1)); },
     {"NewSelection(1) row 6"},
     6},
    {"PageDownByRowsBelowHeader",
     kHeader,
     1,
     [](WindowRef) { return SendKey(key::kPageDown); },
     {"NewSelection(1) row 5"},
     5},
    {"PageDownWithoutHeader",
     kPlain,
     1,
     [](WindowRef) { return SendKey(key::kPageDown); },
     {"NewSelection(1) row 6"},
     6},
};

TEST(ListPressTest, SelectsTheRowDrawnUnderThePointer) {
  WindowThread t(
      [] {
        auto w = MakeWindow("List");
        AddControl(*w, 1, ControlType::kList, "?LIST", 10, kTop, 120, kHeight);
        std::string items = "1";
        for (int i = 2; i <= 20; ++i) items += "|" + std::to_string(i);
        w->Set(1, prop::kChoiceList, items);
        return std::vector{w};
      },
      [](Window& w) { return " row " + std::to_string(w.Get(1, prop::kSelectedRow).AsInt()); });
  Window& w = t.window(0);
  ASSERT_TRUE(w.Select(1).ok());
  for (const PressCase& c : kCases) {
    w.Set(1, prop::kListFormat, c.format);
    w.Set(1, prop::kSelectedRow, c.selected);
    t.Take();
    ASSERT_TRUE(c.input(w.ref()).ok()) << c.name;
    EXPECT_EQ(t.Take(), c.events) << c.name;
    EXPECT_EQ(w.Get(1, prop::kSelectedRow).AsInt(), c.row) << c.name;
  }
}

}  // namespace
}  // namespace rt
