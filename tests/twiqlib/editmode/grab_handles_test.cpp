#include "twiqlib/editmode/grab_handles.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "runtime/window/definition.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"
#include "tests/twiqlib/engine/engine_test_util.h"
#include "twiqlib/editmode/edit_session.h"
#include "twiqlib/windows/morph_window.h"

namespace twiq {
namespace {

namespace prop = rt::prop;
using rt::ControlType;
using testing::ControlSpecOf;

constexpr int kGroup = 1, kButton = 2, kHidden = 3, kSheet = 4, kTab1 = 5, kTab2 = 6;
constexpr int kHostX = 30, kHostY = 40;  // the host's client area on the screen
constexpr int kEditX = 5, kEditY = 7;    // the edit-mode window's

void Place(rt::Window& w, int feq, int x, int y, int width, int height) {
  w.Set(feq, prop::kXPos, x);
  w.Set(feq, prop::kYPos, y);
  w.Set(feq, prop::kWidth, width);
  w.Set(feq, prop::kHeight, height);
}

struct Box {
  int64_t x, y, w, h;
  friend bool operator==(const Box&, const Box&) = default;
};
std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "(" << b.x << ", " << b.y << ", " << b.w << " x " << b.h << ")";
}

// A host with a group holding a button, a hidden entry and a sheet of two tabs, and the
// edit-mode window at another place on the screen; both in pixels.
std::shared_ptr<rt::Window> MakeHost() {
  std::shared_ptr<rt::Window> host = rt::OpenWindow(0, "Host");
  host->Set(0, prop::kPixels, 1);
  Place(*host, 0, kHostX, kHostY, 300, 240);
  host->AddControl(ControlSpecOf(kGroup, ControlType::kGroup, "?GROUP"));
  rt::ControlSpec button = ControlSpecOf(kButton, ControlType::kButton, "?BUTTON");
  button.parent = kGroup;
  host->AddControl(button);
  host->AddControl(ControlSpecOf(kHidden, ControlType::kEntry, "?HIDDEN"));
  host->AddControl(ControlSpecOf(kSheet, ControlType::kSheet, "?SHEET"));
  for (int tab : {kTab1, kTab2}) {
    rt::ControlSpec t = ControlSpecOf(tab, ControlType::kTab, "?TAB" + std::to_string(tab));
    t.parent = kSheet;
    host->AddControl(t);
  }
  Place(*host, kGroup, 10, 10, 100, 60);
  Place(*host, kButton, 20, 20, 30, 10);
  Place(*host, kHidden, 200, 10, 40, 10);
  host->Hide(kHidden);
  Place(*host, kSheet, 10, 100, 200, 100);
  Place(*host, kTab1, 10, 100, 200, 100);
  Place(*host, kTab2, 10, 100, 200, 100);
  return host;
}

class GrabHandlesTest : public testing::SettingsFileFixture {
 protected:
  void SetUp() override {
    SettingsFileFixture::SetUp();
    rt::Status status;
    session_.edit = rt::BuildWindow(MorphWindowDefinition(), 0, {}, &status);
    ASSERT_TRUE(session_.edit) << status.message();
    session_.edit->Set(0, prop::kPixels, 1);
    Place(*session_.edit, 0, kEditX, kEditY, 60, 40);
    handles_.set_control_range(host_->FirstField(), host_->LastField());
    handles_.InitHandles(0);
    handles_.DrawHandles();
  }
  void TearDown() override {
    rt::CloseWindow(session_.edit->ref());
    rt::CloseWindow(host_->ref());
    SettingsFileFixture::TearDown();
  }
  // The pointer over client point (x, y) of the host, as the edit-mode window reports it.
  static PointerPos At(int64_t x, int64_t y) { return {x + kHostX - kEditX, y + kHostY - kEditY}; }
  void Press(int64_t x, int64_t y) {
    ScopedSettingsFile file;  // the undo snapshot reads the settings file
    handles_.SelectAtMouse(At(x, y));
  }
  Box Geometry(int feq) const {
    return {host_->Get(feq, prop::kXPos).AsInt(), host_->Get(feq, prop::kYPos).AsInt(),
            host_->Get(feq, prop::kWidth).AsInt(), host_->Get(feq, prop::kHeight).AsInt()};
  }
  std::vector<std::pair<int64_t, int64_t>> HandlePlaces() const {
    std::vector<std::pair<int64_t, int64_t>> out;
    for (int k = 1; k <= kHandleCount; ++k) {
      EXPECT_EQ(Geometry(kFirstHandleFeq + k - 1),
                (Box{handles_.handle_x(k), handles_.handle_y(k), 6, 6}));
      out.emplace_back(handles_.handle_x(k), handles_.handle_y(k));
    }
    return out;
  }

  std::shared_ptr<rt::Window> host_ = MakeHost();
  EditSession session_{*host_, "M", "P"};
  GrabHandles handles_{session_};
};

TEST_F(GrabHandlesTest, PressSelectsTheSmallestVisibleControlEdgesIncluded) {
  struct Case {
    const char* what;
    int x, y;
    int selected;
  } cases[] = {
      {"the button inside the group", 35, 25, kButton},
      {"the group beside the button", 80, 50, kGroup},
      {"the button's bottom-right edge", 50, 30, kButton},
      {"the group's top-left edge", 10, 10, kGroup},
      {"a hidden control", 220, 15, 0},
      {"no control", 280, 230, 0},
      {"the tab strip, 20 pixels below the top", 50, 120, kTab1},
      {"the sheet's body, 21 pixels below the top", 50, 121, kSheet},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Press(c.x, c.y);
    EXPECT_EQ(handles_.control_no(), c.selected);
    EXPECT_TRUE(handles_.mouse_is_down());
    handles_.EndPress();
  }
}

TEST_F(GrabHandlesTest, HandlesLieInsideTheSelectionFlushWithItsEdges) {
  Place(*host_, kButton, 40, 50, 30, 20);
  Press(55, 60);
  ASSERT_EQ(handles_.control_no(), kButton);
  using P = std::pair<int64_t, int64_t>;
  EXPECT_EQ(HandlePlaces(),
            (std::vector<P>{
                {40, 50}, {52, 50}, {64, 50}, {64, 57}, {64, 64}, {52, 64}, {40, 64}, {40, 57}}));
  handles_.EndPress();
  // The window selected: at the edges of its client area.
  Press(290, 230);
  ASSERT_EQ(handles_.control_no(), 0);
  EXPECT_EQ(
      HandlePlaces(),
      (std::vector<P>{
          {0, 0}, {147, 0}, {294, 0}, {294, 117}, {294, 234}, {147, 234}, {0, 234}, {0, 117}}));
}

struct ResizeCase {
  int handle;
  Box expect;  // from (40, 50, 30 x 20) dragged by (3, -2)
};

class ResizeTest : public GrabHandlesTest, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ResizeTest, TheEdgeOppositeTheHandleStays) {
  const ResizeCase& c = GetParam();
  Place(*host_, kButton, 40, 50, 30, 20);
  Press(41, 51);  // selects the button
  handles_.EndPress();
  handles_.ResizeSelection(c.handle, 3, -2);
  EXPECT_EQ(Geometry(kButton), c.expect);
  // The handles follow the new rectangle.
  EXPECT_EQ(handles_.handle_x(5), c.expect.x + c.expect.w - 6);
  EXPECT_EQ(handles_.handle_y(5), c.expect.y + c.expect.h - 6);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, ResizeTest,
    ::testing::Values(ResizeCase{1, {43, 48, 27, 22}}, ResizeCase{2, {40, 48, 30, 22}},
                      ResizeCase{3, {40, 48, 33, 22}}, ResizeCase{4, {40, 50, 33, 20}},
                      ResizeCase{5, {40, 50, 33, 18}}, ResizeCase{6, {40, 50, 30, 18}},
                      ResizeCase{7, {43, 50, 27, 18}}, ResizeCase{8, {43, 50, 27, 20}},
                      ResizeCase{0, {40, 50, 30, 20}}, ResizeCase{9, {40, 50, 30, 20}}));

TEST_F(GrabHandlesTest, DragMovesFromTheBodyResizesFromAHandleAndNothingFromTheBorder) {
  Place(*host_, kButton, 40, 50, 30, 20);
  // On the body: moves by the sum of the steps.
  Press(55, 58);
  EXPECT_TRUE(handles_.clicking_on_control());
  for (int i = 1; i <= 3; ++i) handles_.DragStep(At(55 + 2 * i, 58 + i));
  handles_.EndPress();
  EXPECT_EQ(Geometry(kButton), (Box{46, 53, 30, 20}));
  // On the bottom-right handle: resizes.
  Press(46 + 30 - 2, 53 + 20 - 2);
  EXPECT_EQ(handles_.over_grab_handle(), 5);
  handles_.DragStep(At(74 + 4, 71 + 1));
  handles_.EndPress();
  EXPECT_EQ(Geometry(kButton), (Box{46, 53, 34, 21}));
  // On the very border (outside the handles): selected, but the drag changes nothing.
  Press(46 + 10, 53);
  ASSERT_EQ(handles_.control_no(), kButton);
  EXPECT_FALSE(handles_.clicking_on_control());
  EXPECT_EQ(handles_.over_grab_handle(), 0);
  handles_.DragStep(At(46 + 25, 53 + 9));
  EXPECT_EQ(Geometry(kButton), (Box{46, 53, 34, 21}));
}

TEST_F(GrabHandlesTest, HandlesAreGoneAfterRemoval) {
  handles_.RemoveHandles();
  for (int k = 0; k < kHandleCount; ++k) EXPECT_FALSE(host_->HasControl(kFirstHandleFeq + k));
  EXPECT_EQ(host_->LastField(), kTab2);
}

TEST(HandleCursorNameTest, CornersAndEdgesHaveTheirSizingCursors) {
  const std::array<const char*, 10> names = {"Arrow",  "SizeNWSE", "SizeNS", "SizeNESW",
                                             "SizeWE", "SizeNWSE", "SizeNS", "SizeNESW",
                                             "SizeWE", "Arrow"};
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(HandleCursorName(k), names[k]) << k;
}

}  // namespace
}  // namespace twiq
