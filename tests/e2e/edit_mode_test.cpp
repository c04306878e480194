// Edit mode as a user meets it on the demo's Control Window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/dialog/dialog_request.h"
#include "runtime/window/cursors.h"
#include "tests/e2e/edit_mode_scenario.h"
#include "twiqlib/bindings/message_box.h"

namespace twiq::testing {
namespace {

namespace key = rt::key;
using rt::MouseButton;

constexpr int kHandle1 = 10001;
constexpr int kHandle5 = 10005;
constexpr int kHandleSize = 6;

// Installs a message-box handler for one scope, answering every box with `answer`.
class AnswerBoxes {
 public:
  AnswerBoxes(int answer, std::vector<std::string>* texts) {
    previous_ = SetMessageBoxHandler([answer, texts](const MessageBoxRequest& r) {
      texts->push_back(r.caption + ": " + r.text);
      return answer;
    });
  }
  ~AnswerBoxes() { SetMessageBoxHandler(std::move(previous_)); }

 private:
  MessageBoxHandler previous_;
};

class EditModeTest : public EditModeScenario {
 protected:
  int Feq(const std::string& label) const { return host_->FieldByLabel(label); }
  // The handles frame `r` (host client pixels): the top-left one at its corner, the
  // bottom-right one flush with its opposite corner.
  void ExpectHandlesAround(const DumpRect& r) const {
    EXPECT_EQ(Pixels(kHandle1), (DumpRect{r.x, r.y, kHandleSize, kHandleSize}));
    EXPECT_EQ(Pixels(kHandle5), (DumpRect{r.x + r.width - kHandleSize, r.y + r.height - kHandleSize,
                                          kHandleSize, kHandleSize}));
  }
  // The record of `label` holds the control's geometry as the dump shows it in dialog units.
  void ExpectStoredGeometry(const std::string& label) const {
    const DumpRect u = Units(Feq(label));
    const WinRecord r = Stored(label);
    EXPECT_EQ((DumpRect{r.x, r.y, r.width, r.height}), u) << label;
  }
  // A point of the host's client area that no visible control covers.
  std::pair<int, int> EmptyPoint() const {
    const rt::Rect client = Rect(0);
    for (int y = static_cast<int>(client.height) - 3; y > 0; y -= 3) {
      for (int x = 3; x < client.width; x += 3) {
        bool covered = false;
        for (int f : host_->Fields()) {
          if (host_->IsVisible(f) && host_->PixelRect(f).Contains(x, y)) covered = true;
        }
        if (!covered) return {x, y};
      }
    }
    ADD_FAILURE() << "the window has no empty point";
    return {0, 0};
  }
  std::pair<int, int> Centre(int feq) const {
    const rt::Rect r = Rect(feq);
    return {static_cast<int>(r.x + r.width / 2), static_cast<int>(r.y + r.height / 2)};
  }
};

TEST_F(EditModeTest, HotKeySelectsTheFocusedControlAndAddsARecordPerControl) {
  StartProgram();
  ASSERT_EQ(RecordCount(kMarker), 0u);
  EnterEditMode("?TESTENTRY");
  ASSERT_EQ(Feq("?TESTENTRY"), twiqdemo::kControlWindowTestEntry);
  ExpectHandlesAround(Pixels(twiqdemo::kControlWindowTestEntry));
  // The window and its 21 controls each have a record now.
  EXPECT_EQ(RecordCount(kMarker), 22u);
  EXPECT_EQ(Stored("WINDOW").description.Clipped(), "WINDOW");
  EXPECT_EQ(Stored("?TESTENTRY").description.Clipped(), "TESTENTRY");
  Key(key::kEsc);
  EXPECT_FALSE(InEditMode());
  EXPECT_FALSE(DumpGeometry(HostDump(), kHandle1)) << "the handles outlived edit mode";
  EXPECT_EQ(host_->Get(0, rt::prop::kPixels).AsInt(), 0);
  EXPECT_EQ(resumed_.load(), 1);
  // A second run adds no records.
  EnterEditMode("?TESTENTRY");
  Key(key::kEsc);
  EXPECT_EQ(RecordCount(kMarker), 22u);
  EXPECT_EQ(edit_runs_.load(), 2);
}

TEST_F(EditModeTest, PressOnAnEmptyPartSelectsTheWindow) {
  StartProgram();
  EnterEditMode("?TESTENTRY");
  const auto [x, y] = EmptyPoint();
  Click(x, y);
  const rt::Rect client = Rect(0);
  ExpectHandlesAround(DumpRect{0, 0, client.width, client.height});
  Key(key::kEsc);
}

// A press on a control inside another selects the inner one (smaller width plus height).
TEST_F(EditModeTest, PressOnAControlInsideAnotherSelectsTheInnerOne) {
  StartProgram();
  EnterEditMode();
  for (const char* label : {"?BUTTON1", "?OPTION1:RADIO1", "?OPTION1"}) {
    SCOPED_TRACE(label);
    const int feq = Feq(label);
    const auto [x, y] = label == std::string("?OPTION1")
                            ? std::pair<int, int>{static_cast<int>(Rect(feq).x + 2),
                                                  static_cast<int>(Rect(feq).y + 2)}
                            : Centre(feq);
    Click(x, y);
    ExpectHandlesAround(Pixels(feq));
  }
  Key(key::kEsc);
}

struct HandleDrag {
  const char* name;
  int handle;                              // 1..8, its square is pressed
  std::vector<std::pair<int, int>> steps;  // pointer movements
  DumpRect change;                         // added to x, y, width, height
};

class HandleDragTest : public EditModeTest, public ::testing::WithParamInterface<HandleDrag> {};

TEST_P(HandleDragTest, ResizesByExactlyTheDragKeepingTheOppositeCorner) {
  const HandleDrag& c = GetParam();
  StartProgram();
  EnterEditMode("?TESTENTRY");
  const int feq = twiqdemo::kControlWindowTestEntry;
  const DumpRect before = Pixels(feq);
  const int hx = static_cast<int>(c.handle == 1 ? before.x : before.x + before.width - 6);
  const int hy = static_cast<int>(c.handle == 1 ? before.y : before.y + before.height - 6);
  Drag(hx + 3, hy + 3, c.steps);
  const DumpRect after = Pixels(feq);
  EXPECT_EQ(after, (DumpRect{before.x + c.change.x, before.y + c.change.y,
                             before.width + c.change.width, before.height + c.change.height}));
  ExpectHandlesAround(after);
  ExpectStoredGeometry("?TESTENTRY");
  Key(key::kEsc);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, HandleDragTest,
    ::testing::Values(
        HandleDrag{"BottomRightBy10x5", 5, {{2, 1}, {3, 1}, {1, 2}, {4, 1}}, {0, 0, 10, 5}},
        HandleDrag{"TopLeftByMinus4", 1, {{-1, -2}, {-2, -1}, {-1, -1}}, {-4, -4, 4, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditModeTest, ReleaseStoresOnlyThePositionInDialogUnits) {
  StartProgram();
  EnterEditMode("?TESTENTRY");
  const int feq = Feq("?BUTTON3");
  const auto [x, y] = Centre(feq);
  Click(x, y);  // selects it: its record is rewritten with the same geometry
  const WinRecord before = Stored("?BUTTON3");
  const DumpRect start = Pixels(feq);
  Drag(x, y, {{5, 0}, {10, 4}, {5, 4}});
  EXPECT_EQ(Pixels(feq), (DumpRect{start.x + 20, start.y + 8, start.width, start.height}));
  WinRecord after = Stored("?BUTTON3");
  EXPECT_EQ(after.x, Units(feq).x);
  EXPECT_EQ(after.y, Units(feq).y);
  EXPECT_NE(after.x, before.x);
  after.x = before.x;
  after.y = before.y;
  EXPECT_TRUE(SameRecord(after, before)) << "a field other than X and Y changed";
  Key(key::kEsc);
}

TEST_F(EditModeTest, ArrowKeysNudgeByOnePixelAndSaveAtOnce) {
  StartProgram();
  EnterEditMode("?TESTENTRY");
  const int feq = twiqdemo::kControlWindowTestEntry;
  struct Nudge {
    int keycode;
    int dx, dy;
  };
  for (const Nudge& n : {Nudge{key::kRight, 1, 0}, Nudge{key::kDown, 0, 1},
                         Nudge{key::kLeft, -1, 0}, Nudge{key::kUp, 0, -1}}) {
    SCOPED_TRACE(n.keycode);
    const DumpRect before = Pixels(feq);
    Key(n.keycode);
    EXPECT_TRUE(InEditMode());
    EXPECT_EQ(Pixels(feq),
              (DumpRect{before.x + n.dx, before.y + n.dy, before.width, before.height}));
    ExpectStoredGeometry("?TESTENTRY");
  }
  Key(key::kEsc);
}

TEST_F(EditModeTest, EndKeysAndTheLossOfTheFocusEndEditMode) {
  StartProgram();
  int runs = 0;
  for (int keycode : {key::kEsc, key::kF8, key::kF9, key::kF10}) {
    SCOPED_TRACE(keycode);
    EnterEditMode("?TESTENTRY");
    Key(keycode);
    EXPECT_FALSE(InEditMode());
    EXPECT_EQ(edit_runs_.load(), ++runs);
  }
  EnterEditMode("?TESTENTRY");
  ASSERT_TRUE(robot_->Activate(host_ref_).ok());
  EXPECT_FALSE(InEditMode());
  EXPECT_EQ(edit_runs_.load(), ++runs);
  // The host is open again, has the focus and no handles.
  EXPECT_EQ(robot_->Focused(), host_ref_.load());
  EXPECT_FALSE(DumpGeometry(HostDump(), kHandle1));
}

// Answering No restores every clicked control and its record; Yes keeps them.
TEST_F(EditModeTest, PromptOnExitRollsBackOnNoOnly) {
  StartProgram(1);
  for (int answer : {kButtonNo, kButtonYes}) {
    SCOPED_TRACE(answer == kButtonNo ? "No" : "Yes");
    EnterEditMode("?TESTENTRY");
    const std::vector<std::string> labels = {"?BUTTON3", "?TESTCHECK"};
    std::vector<DumpRect> start;
    std::vector<WinRecord> stored;
    for (const std::string& label : labels) {
      start.push_back(Pixels(Feq(label)));
      stored.push_back(Stored(label));
      const auto [x, y] = Centre(Feq(label));
      Drag(x, y, {{3, 2}, {3, 2}});
      // Selected a second time: the first snapshot stays.
      Drag(x + 6, y + 4, {{1, 1}});
    }
    std::vector<std::string> boxes;
    {
      AnswerBoxes answers(answer, &boxes);
      Key(key::kEsc);
    }
    EXPECT_EQ(boxes, (std::vector<std::string>{"Twiq: Do you want to save your changes?"}));
    for (size_t i = 0; i < labels.size(); ++i) {
      SCOPED_TRACE(labels[i]);
      const DumpRect moved{start[i].x + 7, start[i].y + 5, start[i].width, start[i].height};
      if (answer == kButtonNo) {
        EXPECT_EQ(Pixels(Feq(labels[i])), start[i]);
        EXPECT_TRUE(SameRecord(Stored(labels[i]), stored[i]));
      } else {
        EXPECT_EQ(Pixels(Feq(labels[i])), moved);
        ExpectStoredGeometry(labels[i]);
      }
    }
  }
}

TEST_F(EditModeTest, PopUpResetRestoresTheOriginalAndQuitKeepsTheHostOpen) {
  StartProgram();
  EnterEditMode("?TESTENTRY");
  const int feq = Feq("?BUTTON3");
  const DumpRect original = Pixels(feq);
  const auto [x, y] = Centre(feq);
  Drag(x, y, {{8, 6}});
  ASSERT_NE(Pixels(feq), original);
  robot_->AnswerPopup(
      4,
      "Edit ?BUTTON3|Show Processed Fields|Full Field List/Tab Order|Reset ?BUTTON3 to "
      "original|Quit Editing Mode");
  Click(x + 8, y + 6, MouseButton::kRight);
  EXPECT_TRUE(InEditMode());
  EXPECT_EQ(Pixels(feq), original);
  ExpectStoredGeometry("?BUTTON3");
  // Items 1 to 3 return to editing.
  for (int item : {1, 2, 3}) {
    robot_->AnswerPopup(item);
    Click(x, y, MouseButton::kRight);
    EXPECT_TRUE(InEditMode()) << item;
  }
  // On an empty part the menu names the window.
  const auto [ex, ey] = EmptyPoint();
  robot_->AnswerPopup(5, "Edit WINDOW|");
  Click(ex, ey, MouseButton::kRight);
  EXPECT_FALSE(InEditMode());
  EXPECT_EQ(robot_->FindWindowNamed("Control Window"), host_ref_.load());
  EXPECT_EQ(resumed_.load(), 1);
  EXPECT_EQ(display_->PreparedCount(), 0u);
}

TEST_F(EditModeTest, CursorOverEachHandleIsTheTabledOne) {
  StartProgram();
  EnterEditMode("?TESTENTRY");
  static const char* const kCursors[] = {"SizeNWSE", "SizeNS", "SizeNESW", "SizeWE",
                                         "SizeNWSE", "SizeNS", "SizeNESW", "SizeWE"};
  for (int k = 1; k <= 8; ++k) {
    const DumpRect h = Pixels(10000 + k);
    ASSERT_TRUE(robot_->Move(host_ref_, static_cast<int>(h.x + 3), static_cast<int>(h.y + 3)).ok());
    EXPECT_EQ(rt::CursorName(rt::CurrentCursor()).value_or("?"), kCursors[k - 1]) << k;
  }
  const auto [x, y] = EmptyPoint();
  ASSERT_TRUE(robot_->Move(host_ref_, x, y).ok());
  EXPECT_EQ(rt::CursorName(rt::CurrentCursor()).value_or("?"), "Arrow");
  Key(key::kEsc);
}

}  // namespace
}  // namespace twiq::testing
