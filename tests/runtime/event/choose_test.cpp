// Choices the user makes with a click that a display recognises: a sheet's tab, a row of a
// dropped-down list. Both land in the model and reach the loop as new-selection, as input.
#include <gtest/gtest.h>

#include <functional>

#include "runtime/event/input.h"
#include "runtime/event/os_window.h"
#include "runtime/window/list_source.h"
#include "tests/runtime/event/window_thread.h"

namespace rt {
namespace {

using testing::AddControl;
using testing::MakeWindow;
using testing::WindowThread;

constexpr int kSheet = 1, kTab1 = 2, kTab2 = 3, kTab3 = 4, kEntry = 5, kDrop = 6, kCombo = 7;

struct ChooseCase {
  const char* name;
  std::function<Status(Window&)> choose;
  bool ok;
  std::vector<std::string> events;
  const char* after;  // sheet's tab, drop list's row, combo's row and contents
};

const ChooseCase kCases[] = {
    {"SecondTab",
     [](Window& w) { return ChooseTab(w.ref(), kSheet, 2); },
     true,
     {"NewSelection(1)"},
     "tab 2 drop 0 combo 0 ''"},
    {"ShownTabAgain",
     [](Window& w) { return ChooseTab(w.ref(), kSheet, 2); },
     true,
     {},
     "tab 2 drop 0 combo 0 ''"},
    {"NoFourthTab",
     [](Window& w) { return ChooseTab(w.ref(), kSheet, 4); },
     false,
     {},
     "tab 2 drop 0 combo 0 ''"},
    {"NotASheet",
     [](Window& w) { return ChooseTab(w.ref(), kEntry, 1); },
     false,
     {},
     "tab 2 drop 0 combo 0 ''"},
    {"DropListItem",
     [](Window& w) { return ChooseListRow(w.ref(), kDrop, 3); },
     true,
     {"NewSelection(6)"},
     "tab 2 drop 3 combo 0 ''"},
    {"ComboRowFillsTheEntry",
     [](Window& w) { return ChooseListRow(w.ref(), kCombo, 2); },
     true,
     {"NewSelection(7)"},
     "tab 2 drop 3 combo 2 'beta'"},
    {"NoSuchRow",
     [](Window& w) { return ChooseListRow(w.ref(), kDrop, 4); },
     false,
     {},
     "tab 2 drop 3 combo 2 'beta'"},
    {"EntryHasNoList",
     [](Window& w) { return ChooseListRow(w.ref(), kEntry, 1); },
     false,
     {},
     "tab 2 drop 3 combo 2 'beta'"},
    {"DisabledSheet",
     [](Window& w) {
       w.Disable(kSheet);
       const Status s = ChooseTab(w.ref(), kSheet, 1);
       w.Enable(kSheet);
       return s;
     },
     false,
     {},
     "tab 2 drop 3 combo 2 'beta'"},
    {"WhileCaptured",
     [](Window& w) {
       SetCapture(ClientHandleOf(w.ref()));
       const Status s = ChooseTab(w.ref(), kSheet, 3);
       ReleaseCapture();
       return s;
     },
     false,
     {},
     "tab 2 drop 3 combo 2 'beta'"},
};

TEST(ChooseTest, TabsAndDroppedDownRowsAreChosenAsInput) {
  auto describe = [](Window& w) {
    return " tab " + std::to_string(w.Choice(kSheet)) + " drop " +
           std::to_string(w.Get(kDrop, prop::kSelectedRow).AsInt()) + " combo " +
           std::to_string(w.Get(kCombo, prop::kSelectedRow).AsInt()) + " '" +
           w.Contents(kCombo).AsText() + "'";
  };
  WindowThread t([] {
    auto w = MakeWindow("Choices");
    AddControl(*w, kSheet, ControlType::kSheet, "?SHEET", 0, 0, 300, 200);
    AddControl(*w, kTab1, ControlType::kTab, "?TAB1", 0, 0, 300, 200, kSheet);
    AddControl(*w, kTab2, ControlType::kTab, "?TAB2", 0, 0, 300, 200, kSheet);
    AddControl(*w, kTab3, ControlType::kTab, "?TAB3", 0, 0, 300, 200, kSheet);
    AddControl(*w, kEntry, ControlType::kEntry, "?ENTRY", 10, 30, 80, 12, kTab1);
    AddControl(*w, kDrop, ControlType::kDropList, "?DROP", 10, 50, 80, 12, kTab1);
    w->Set(kDrop, prop::kChoiceList, "one|two|three");
    AddControl(*w, kCombo, ControlType::kCombo, "?COMBO", 10, 70, 80, 12, kTab1);
    w->SetListSource(kCombo,
                     std::make_shared<TextListSource>(std::vector<std::string>{"alpha", "beta"}));
    return std::vector{w};
  });
  Window& w = t.window(0);
  t.Take();
  for (const ChooseCase& c : kCases) {
    EXPECT_EQ(c.choose(w).ok(), c.ok) << c.name;
    EXPECT_EQ(t.Take(), c.events) << c.name;
    const std::string after = describe(w).substr(1);
    EXPECT_EQ(after, c.after) << c.name;
  }
}

}  // namespace
}  // namespace rt
