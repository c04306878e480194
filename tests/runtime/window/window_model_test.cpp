// The window model: properties by code, units, derived visibility, the tab chain, CREATE and
// DESTROY, field queries, DISPLAY/UPDATE and closed windows.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/window/property_codes.h"
#include "runtime/window/window.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

// Opens windows for one test and closes them afterwards, so no test leaks a window into the
// next.
class WindowModelTest : public ::testing::Test {
 protected:
  std::shared_ptr<Window> Open(std::string label = "Test$Window") {
    std::shared_ptr<Window> w = OpenWindow(1, std::move(label));
    opened_.push_back(w->ref());
    return w;
  }
  void Add(Window& w, int feq, ControlType type, int parent = 0, std::string label = "") {
    if (label.empty()) label = "?C" + std::to_string(feq);
    ASSERT_TRUE(w.AddControl({feq, type, label, parent, {}}).ok()) << label;
  }
  void TearDown() override {
    for (WindowRef ref : opened_) CloseWindow(ref);
  }

  static std::string Join(const std::vector<int>& v) {
    std::ostringstream out;
    for (size_t i = 0; i < v.size(); ++i) out << (i ? " " : "") << v[i];
    return out.str();
  }

 private:
  std::vector<WindowRef> opened_;
};

struct RoundTrip {
  int code;
  int index;
  Value in;
  const char* text;  // as AsText() reads it back
  double number;     // as AsNumber() reads it back
};

// Values come back as set (same kind), read as text or number by the runtime's conversion.
const RoundTrip kRoundTrips[] = {
    {prop::kText, 0, "Hello", "Hello", 0},
    {prop::kText, 0, "12abc", "12abc", 12},
    {prop::kTip, 0, 12.5, "12.5", 12.5},
    {prop::kFontSize, 0, 10, "10", 10},
    {prop::kFontFace, 0, "Arial", "Arial", 0},
    {prop::kRangeLow, 0, "-3", "-3", -3},
    {prop::kFillColour, 0, prop::Rgb(1, 2, 3), "197121", 197121},
    {prop::kAlertKey, 255, 1604, "1604", 1604},
    {0x7ABC, 3, "unnamed code", "unnamed code", 0},  // unknown codes are stored as set
};

TEST_F(WindowModelTest, PropertiesRoundTripOnControlsAndWindow) {
  auto w = Open();
  Add(*w, 1, ControlType::kEntry);
  for (int feq : {0, 1}) {
    for (const RoundTrip& c : kRoundTrips) {
      SCOPED_TRACE("feq " + std::to_string(feq) + " code " + std::to_string(c.code));
      ASSERT_TRUE(w->Set(feq, c.code, c.in, c.index).ok());
      const Value out = w->Get(feq, c.code, c.index);
      EXPECT_EQ(out, c.in);
      EXPECT_EQ(out.AsText(), c.text);
      EXPECT_DOUBLE_EQ(out.AsNumber(), c.number);
    }
  }
  // The index is part of the address.
  EXPECT_EQ(w->Get(1, prop::kAlertKey, 254).AsText(), "");
  EXPECT_EQ(w->Get(1, prop::kAlertKey, 255).AsInt(), 1604);
}

TEST_F(WindowModelTest, PropertiesALackingControlReadEmptyAndZero) {
  auto w = Open();
  Add(*w, 1, ControlType::kButton);
  Add(*w, 2, ControlType::kRadio);
  ASSERT_TRUE(w->Set(2, prop::kTip, "only on 2").ok());
  struct {
    int feq, code, index;
  } const cases[] = {
      {1, prop::kText, 0},     {1, prop::kTip, 0},         {1, prop::kIcon, 0},
      {1, prop::kFontFace, 0}, {1, prop::kAlertKey, 1},    {1, 0x7ABC, 0},
      {1, prop::kContents, 0}, {1, prop::kSelectedRow, 0}, {2, prop::kValue, 0},
      {0, prop::kTip, 0},      {99, prop::kText, 0},       {99, prop::kXPos, 0},
      {99, prop::kVisible, 0}, {-5, prop::kTip, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("feq " + std::to_string(c.feq) + " code " + std::to_string(c.code));
    const Value v = w->Get(c.feq, c.code, c.index);
    EXPECT_EQ(v.AsText(), "");
    EXPECT_EQ(v.AsNumber(), 0);
  }
  // An unset colour is "no colour" (the style's own), not 0, which is black.
  for (int code : {prop::kFontColour, prop::kBackgroundColour, prop::kSelectedTextColour,
                   prop::kSelectedFillColour, prop::kFillColour, prop::kGridColour}) {
    EXPECT_EQ(w->Get(1, code).AsInt(), prop::kNoColour) << code;
    EXPECT_EQ(w->Get(0, code).AsInt(), prop::kNoColour) << code;
  }
  ASSERT_TRUE(w->Set(1, prop::kFontColour, 0).ok());
  EXPECT_EQ(w->Get(1, prop::kFontColour).AsInt(), 0);
}

struct UnitCase {
  int font_size;  // window font; 0: unset (8 points)
  int64_t dlu_x, dlu_y;
  int64_t px_x, px_y;
};

// Dialog units to pixels: x by a quarter of the character width, y by an eighth of its height
// (8 points: 6 x 13, 10: 8 x 16, 12: 9 x 19), halves rounded away from zero.
const UnitCase kDialogToPixels[] = {
    {0, 10, 8, 15, 13}, {8, 4, 16, 6, 26},    {10, 10, 8, 20, 16}, {12, 4, 8, 9, 19},
    {8, 3, 3, 5, 5},    {8, -4, -8, -6, -13}, {8, 0, 0, 0, 0},
};

TEST_F(WindowModelTest, UnitsDialogUnitsToPixelsAndBack) {
  for (const UnitCase& c : kDialogToPixels) {
    SCOPED_TRACE("font " + std::to_string(c.font_size) + " at " + std::to_string(c.dlu_x) + "," +
                 std::to_string(c.dlu_y));
    auto w = Open();
    if (c.font_size) {
      ASSERT_TRUE(w->Set(0, prop::kFontSize, c.font_size).ok());
    }
    Add(*w, 1, ControlType::kEntry);
    ASSERT_TRUE(w->Set(1, prop::kXPos, c.dlu_x).ok());
    ASSERT_TRUE(w->Set(1, prop::kYPos, c.dlu_y).ok());
    ASSERT_TRUE(w->Set(1, prop::kWidth, c.dlu_x).ok());
    ASSERT_TRUE(w->Set(1, prop::kHeight, c.dlu_y).ok());
    EXPECT_EQ(w->PixelRect(1), (Rect{c.px_x, c.px_y, c.px_x, c.px_y}));
    EXPECT_EQ(w->Get(1, prop::kXPos).AsInt(), c.dlu_x);
    EXPECT_EQ(w->Get(1, prop::kHeight).AsInt(), c.dlu_y);
    // Pixels = 1: the same geometry reads and writes in pixels.
    ASSERT_TRUE(w->Set(0, prop::kPixels, 1).ok());
    EXPECT_EQ(w->Get(1, prop::kXPos).AsInt(), c.px_x);
    EXPECT_EQ(w->Get(1, prop::kYPos).AsInt(), c.px_y);
    EXPECT_EQ(w->Get(1, prop::kWidth).AsInt(), c.px_x);
    EXPECT_EQ(w->PixelsToUnitsX(c.px_x), c.px_x);
  }
}

struct PixelCase {
  int font_size;
  int64_t px_x, px_y;
  int64_t dlu_x, dlu_y;  // as read back after switching to dialog units
};

const PixelCase kPixelsToDialog[] = {
    {8, 15, 13, 10, 8},  {8, 7, 7, 5, 4},        {10, 7, 20, 4, 10},
    {8, -7, -7, -5, -4}, {12, 100, 100, 44, 42},
};

TEST_F(WindowModelTest, UnitsPixelWritesReadInDialogUnits) {
  for (const PixelCase& c : kPixelsToDialog) {
    SCOPED_TRACE("font " + std::to_string(c.font_size) + " at " + std::to_string(c.px_x) + "," +
                 std::to_string(c.px_y) + " px");
    auto w = Open();
    ASSERT_TRUE(w->Set(0, prop::kFontSize, c.font_size).ok());
    ASSERT_TRUE(w->Set(0, prop::kPixels, 1).ok());
    Add(*w, 1, ControlType::kEntry);
    ASSERT_TRUE(w->Set(1, prop::kXPos, c.px_x).ok());
    ASSERT_TRUE(w->Set(1, prop::kYPos, c.px_y).ok());
    ASSERT_TRUE(w->Set(0, prop::kWidth, c.px_x).ok());
    ASSERT_TRUE(w->Set(0, prop::kPixels, 0).ok());
    EXPECT_EQ(w->Get(1, prop::kXPos).AsInt(), c.dlu_x);
    EXPECT_EQ(w->Get(1, prop::kYPos).AsInt(), c.dlu_y);
    EXPECT_EQ(w->Get(0, prop::kWidth).AsInt(), c.dlu_x);  // the window converts alike
    EXPECT_EQ(w->PixelsToUnitsX(c.px_x), c.dlu_x);
    EXPECT_EQ(w->PixelsToUnitsY(c.px_y), c.dlu_y);
    EXPECT_EQ(w->PixelRect(1).x, c.px_x);  // the stored pixels did not move
  }
}

class VisibleTest : public WindowModelTest {
 protected:
  // group 1 > panel 2 > button 3; sheet 4 > tab 5 > entry 6, tab 7 > entry 8; string 9.
  void SetUp() override {
    w_ = Open();
    Add(*w_, 1, ControlType::kGroup);
    Add(*w_, 2, ControlType::kPanel, 1);
    Add(*w_, 3, ControlType::kButton, 2);
    Add(*w_, 4, ControlType::kSheet);
    Add(*w_, 5, ControlType::kTab, 4);
    Add(*w_, 6, ControlType::kEntry, 5);
    Add(*w_, 7, ControlType::kTab, 4);
    Add(*w_, 8, ControlType::kEntry, 7);
    Add(*w_, 9, ControlType::kString);
  }
  // The visible controls, e.g. "1 2 3 4 5 6 9"; the property and IsVisible must agree.
  std::string Shown() {
    std::vector<int> shown;
    for (int feq : w_->Fields()) {
      EXPECT_EQ(w_->Get(feq, prop::kVisible).AsInt(), w_->IsVisible(feq) ? 1 : 0);
      if (w_->IsVisible(feq)) shown.push_back(feq);
    }
    return Join(shown);
  }
  std::shared_ptr<Window> w_;
};

TEST_F(VisibleTest, FollowsHiddenParentsAndTheSelectedTab) {
  struct Step {
    const char* what;
    std::function<Status(Window&)> act;
    const char* shown;
  } const steps[] = {
      {"as added: only the first tab shows", [](Window&) { return Status::Ok(); }, "1 2 3 4 5 6 9"},
      {"hide the group", [](Window& w) { return w.Hide(1); }, "4 5 6 9"},
      {"hide the panel too", [](Window& w) { return w.Hide(2); }, "4 5 6 9"},
      {"unhide the group", [](Window& w) { return w.Unhide(1); }, "1 4 5 6 9"},
      {"unhide the panel", [](Window& w) { return w.Unhide(2); }, "1 2 3 4 5 6 9"},
      {"select the second tab", [](Window& w) { return w.SetContents(4, 2); }, "1 2 3 4 7 8 9"},
      {"hide the selected tab", [](Window& w) { return w.Hide(7); }, "1 2 3 4 9"},
      {"hide the sheet", [](Window& w) { return w.Hide(4); }, "1 2 3 9"},
      {"hide the window", [](Window& w) { return w.Set(0, prop::kHidden, 1); }, ""},
      {"show the window", [](Window& w) { return w.Set(0, prop::kHidden, 0); }, "1 2 3 9"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    ASSERT_TRUE(s.act(*w_).ok());
    EXPECT_EQ(Shown(), s.shown);
  }
  CloseWindow(w_->ref());
  EXPECT_EQ(Shown(), "");
}

TEST_F(WindowModelTest, FollowsRebuildsTheTabChain) {
  struct Case {
    std::vector<std::pair<int, int>> moves;  // (control, the one it is to follow)
    const char* chain;
  } const cases[] = {
      {{}, "1 2 3 4 5"},
      {{{5, 1}}, "1 5 2 3 4"},
      {{{1, 5}}, "2 3 4 5 1"},
      {{{2, 4}, {4, 1}}, "1 4 3 2 5"},
      {{{5, 1}, {5, 2}}, "1 2 5 3 4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chain);
    auto w = Open();
    for (int feq = 1; feq <= 5; ++feq) Add(*w, feq, ControlType::kEntry);
    for (auto [feq, after] : c.moves) ASSERT_TRUE(w->Set(feq, prop::kFollows, after).ok());
    EXPECT_EQ(Join(w->TabChain()), c.chain);
    // Follows reads the control before it in the chain (0 for the first).
    const std::vector<int> chain = w->TabChain();
    for (size_t i = 0; i < chain.size(); ++i) {
      EXPECT_EQ(w->Get(chain[i], prop::kFollows).AsInt(), i ? chain[i - 1] : 0);
    }
  }
  auto w = Open();
  Add(*w, 1, ControlType::kEntry);
  EXPECT_FALSE(w->Set(0, prop::kFollows, 1).ok());  // the window is in no chain
}

TEST_F(WindowModelTest, CreateAndDestroy) {
  auto w = Open();
  Add(*w, 1, ControlType::kGroup);
  Add(*w, 2, ControlType::kOption, 1);
  Add(*w, 3, ControlType::kRadio, 2);
  Add(*w, 4, ControlType::kButton);
  Add(*w, -1, ControlType::kItem);

  // CREATE without an equate takes the one after LASTFIELD, joins the tab chain at the end.
  Status st;
  EXPECT_EQ(w->Create({0, ControlType::kEntry, "?NEW", 0, {}}, &st), 5);
  EXPECT_TRUE(st.ok());
  EXPECT_EQ(w->TypeOf(5), ControlType::kEntry);
  EXPECT_EQ(w->Get(5, prop::kType).AsInt(), static_cast<int>(ControlType::kEntry));
  EXPECT_EQ(Join(w->TabChain()), "1 2 3 4 5");
  EXPECT_EQ(w->Create({9, ControlType::kString, "", 1, {}}, &st), 9);
  EXPECT_EQ(w->ParentOf(9), 1);

  struct Bad {
    ControlSpec control;
    Status::Code code;
  } const bad[] = {
      {{4, ControlType::kEntry, "?OTHER", 0, {}}, Status::Code::kAlreadyExists},
      {{0, ControlType::kEntry, "?NEW", 0, {}}, Status::Code::kAlreadyExists},
      {{0, ControlType::kEntry, "?ORPHAN", 42, {}}, Status::Code::kNotFound},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.control.label);
    EXPECT_EQ(w->Create(b.control, &st), 0);
    EXPECT_EQ(st.code(), b.code);
    EXPECT_NE(st.message().find("Test$Window"), std::string::npos) << st.message();
  }

  // DESTROY takes the control and everything inside it, out of the chain and the focus.
  ASSERT_TRUE(w->Select(3).ok());
  ASSERT_TRUE(w->Destroy(1).ok());
  EXPECT_EQ(Join(w->Fields()), "-1 4 5");
  EXPECT_EQ(Join(w->TabChain()), "4 5");
  EXPECT_EQ(w->focus(), 0);
  EXPECT_EQ(w->Get(3, prop::kText).AsText(), "");
  EXPECT_EQ(w->Destroy(1).code(), Status::Code::kNotFound);
  ASSERT_TRUE(w->Destroy(5).ok());
  EXPECT_EQ(w->Create({0, ControlType::kEntry, "?AGAIN", 0, {}}), 5);
}

TEST_F(WindowModelTest, FirstFieldLastFieldAndFieldName) {
  auto w = Open();
  EXPECT_EQ(w->FirstField(), 0);
  EXPECT_EQ(w->LastField(), 0);
  Add(*w, -10, ControlType::kItem, 0, "?TWIQ");
  Add(*w, -1, ControlType::kMenu, 0, "?FILE");
  EXPECT_EQ(w->FirstField(), 0);  // menu items are no fields
  EXPECT_EQ(w->LastField(), 0);
  Add(*w, 7, ControlType::kButton, 0, "?OK");
  Add(*w, 3, ControlType::kEntry, 0, "?NAME");
  EXPECT_EQ(w->FirstField(), 3);
  EXPECT_EQ(w->LastField(), 7);
  const std::pair<int, const char*> names[] = {{3, "?NAME"}, {7, "?OK"}, {-10, "?TWIQ"},
                                               {0, ""},      {4, ""},    {-2, ""}};
  for (auto [feq, name] : names) {
    EXPECT_EQ(w->FieldName(feq), name) << feq;
    if (*name) {
      EXPECT_EQ(w->FieldByLabel(name), feq);
    }
  }
  EXPECT_EQ(w->FieldByLabel("?NONE"), 0);
}

// DISPLAY copies each kind of variable into its control; UPDATE writes what the user left
// there back, converted to the variable's kind.
TEST_F(WindowModelTest, DisplayAndUpdateWithFixedTextAndNumbers) {
  char fixed[10];
  std::memcpy(fixed, "abc       ", 10);
  int32_t count = 42;
  uint32_t flags = 7;
  double amount = 2.5;
  std::string free_text = "x ";
  struct Case {
    VarRef var;
    Value shown;  // contents after DISPLAY
    Value typed;  // what the user leaves in the control
    std::function<std::string()> stored;
    const char* expected;  // the variable after UPDATE
  } const cases[] = {
      {VarRef::Fixed(fixed), "abc       ", "hello world!", [&] { return std::string(fixed, 10); },
       "hello worl"},
      {VarRef::Fixed(fixed), "hello worl", "hi", [&] { return std::string(fixed, 10); },
       "hi        "},
      {VarRef::Long(&count), 42, "17abc", [&] { return std::to_string(count); }, "17"},
      {VarRef::Long(&count), 17, -3.75, [&] { return std::to_string(count); }, "-3"},
      {VarRef::ULong(&flags), 7, 9, [&] { return std::to_string(flags); }, "9"},
      {VarRef::Real(&amount), 2.5, "-0.25", [&] { return Value(amount).AsText(); }, "-0.25"},
      {VarRef::Text(&free_text), "x ", "y  ", [&] { return free_text; }, "y  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    auto w = Open();
    ASSERT_TRUE(w->AddControl({1, ControlType::kEntry, "?BOUND", 0, c.var}).ok());
    Add(*w, 2, ControlType::kEntry);  // not bound: DISPLAY and UPDATE leave it alone
    ASSERT_TRUE(w->SetContents(2, "own").ok());
    w->Display();
    EXPECT_EQ(w->Contents(1), c.shown);
    EXPECT_EQ(w->Contents(2), Value("own"));
    ASSERT_TRUE(w->SetContents(1, c.typed).ok());
    w->Display(2);  // another control: this one keeps its input
    EXPECT_EQ(w->Contents(1), c.typed);
    w->Update();
    EXPECT_EQ(c.stored(), c.expected);
  }
}

TEST_F(WindowModelTest, ClosedWindowRefusesWritesAndReadsEmpty) {
  auto w = Open();
  Add(*w, 1, ControlType::kEntry);
  ASSERT_TRUE(w->Set(1, prop::kText, "before").ok());
  CloseWindow(w->ref());
  EXPECT_TRUE(w->closed());
  EXPECT_EQ(FindWindow(w->ref()), nullptr);
  const std::pair<const char*, std::function<Status()>> writes[] = {
      {"Set", [&] { return w->Set(1, prop::kText, "after"); }},
      {"Set on the window", [&] { return w->Set(0, prop::kText, "after"); }},
      {"AddControl",
       [&] {
         return w->AddControl({2, ControlType::kEntry, "?B", 0, {}});
       }},
      {"Create",
       [&] {
         Status st;
         w->Create({0, ControlType::kEntry, "?C", 0, {}}, &st);
         return st;
       }},
      {"Destroy", [&] { return w->Destroy(1); }},
      {"Select", [&] { return w->Select(1); }},
      {"Hide", [&] { return w->Hide(1); }},
      {"SetContents", [&] { return w->SetContents(1, "typed"); }},
  };
  for (const auto& [name, write] : writes) {
    const Status st = write();
    EXPECT_EQ(st.code(), Status::Code::kClosed) << name;
    EXPECT_NE(st.message().find("closed"), std::string::npos) << name << ": " << st.message();
  }
  EXPECT_EQ(w->Get(1, prop::kText).AsText(), "");
  EXPECT_EQ(w->Get(0, prop::kWindowHandle).AsInt(), 0);
  EXPECT_EQ(w->Contents(1).AsText(), "");
}

}  // namespace
}  // namespace rt
