#include "runtime/event/window_procedure.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "runtime/event/input.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/message.h"
#include "runtime/event/os_window.h"
#include "tests/runtime/event/window_thread.h"

namespace rt {
namespace {

using testing::AddControl;
using testing::Log;
using testing::MakeWindow;
using testing::WindowThread;

std::string Hex(uint32_t message) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", message);
  return buf;
}

// A replaced client procedure sees the mouse messages before the runtime's default; passing
// them on through CallWindowProcA makes the button click an accepted event, swallowing them
// leaves nothing.
TEST(WindowProcedureTest, ReplacedProcedureSeesMouseFirstAndCanPassItOn) {
  for (const bool pass_on : {true, false}) {
    Log seen;
    ProcedureId saved = 0;
    const ProcedureId mine =
        RegisterWindowProc([&](Handle h, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
          if (msg::IsMouseMessage(m)) {
            seen.Add(Hex(m) + " " + std::to_string(msg::PointX(lp)) + "," +
                     std::to_string(msg::PointY(lp)));
            if (!pass_on) return 1;
          }
          return CallWindowProcA(saved, h, m, wp, lp);
        });
    WindowThread t([&] {
      auto w = MakeWindow("Form", 100, 100);
      AddControl(*w, 1, ControlType::kButton, "?OK", 10, 10, 50, 20);
      return std::vector{w};
    });
    Window& w = t.window(0);
    saved = w.Get(0, prop::kClientWindowProcedure).AsInt();
    EXPECT_EQ(saved, kDefaultWindowProcedure);
    w.Set(0, prop::kClientWindowProcedure, mine);
    t.Take();
    ASSERT_TRUE(SendMouse(w.ref(), msg::kLButtonDown, 20, 15).ok());
    ASSERT_TRUE(SendMouse(w.ref(), msg::kLButtonUp, 20, 15).ok());
    const std::vector<std::string> events = t.Take();
    EXPECT_EQ(seen.lines(), (std::vector<std::string>{"0x201 20,15", "0x202 20,15"}));
    if (pass_on) {
      EXPECT_EQ(events, (std::vector<std::string>{"Selected(1)", "Accepted(1)"}));
    } else {
      EXPECT_TRUE(events.empty()) << events.front();
    }
    UnregisterWindowProc(mine);
  }
}

TEST(WindowProcedureTest, ProcedureIdsStandForFunctionsLikeAddresses) {
  struct F {
    static intptr_t A(Handle, uint32_t, uintptr_t, intptr_t) { return 7; }
    static intptr_t B(Handle, uint32_t, uintptr_t, intptr_t) { return 8; }
  };
  const ProcedureId a = WindowProcId(&F::A);
  EXPECT_EQ(WindowProcId(&F::A), a);
  EXPECT_NE(WindowProcId(&F::B), a);
  EXPECT_EQ(WindowProcId(&DefaultWindowProc), kDefaultWindowProcedure);
  EXPECT_EQ(CallWindowProcA(a, 0, 0, 0, 0), 7);
  EXPECT_EQ(CallWindowProcA(WindowProcId(&F::B), 0, 0, 0, 0), 8);
  // A stale or unknown id falls back to the default procedure (which answers 0).
  EXPECT_EQ(CallWindowProcA(987654321, 0, 0, 0, 0), 0);
}

// Under capture, a press on any window reaches the capturing window's frame procedure with
// coordinates relative to the capturing window; when another window takes the focus, the
// capture ends and the capturing window receives lose focus.
TEST(WindowProcedureTest, CaptureRoutesTheMouseAndEndsWithLoseFocus) {
  Log frame;
  const ProcedureId proc = RegisterWindowProc([&](Handle h, uint32_t m, uintptr_t wp,
                                                  intptr_t lp) -> intptr_t {
    if (m == msg::kLButtonDown) {
      frame.Add("down " + std::to_string(msg::PointX(lp)) + "," + std::to_string(msg::PointY(lp)) +
                " mouse " + std::to_string(MouseX()) + "," + std::to_string(MouseY()));
      Post(event::kAccepted, 1020);
      return 1;
    }
    return CallWindowProcA(kDefaultWindowProcedure, h, m, wp, lp);
  });
  WindowThread host_thread([] {
    auto host = MakeWindow("Host", 100, 50);
    AddControl(*host, 1, ControlType::kButton, "?B", 0, 0, 40, 20);
    auto edit = MakeWindow("Edit", 300, 200, 10, 10);
    return std::vector{host, edit};
  });
  WindowThread other_thread([] { return std::vector{MakeWindow("Other", 600, 0)}; });
  Window& host = host_thread.window(0);
  Window& edit = host_thread.window(1);
  Window& other = other_thread.window(0);
  edit.Set(0, prop::kWindowProcedure, proc);
  ASSERT_TRUE(SetFocus(edit.Get(0, prop::kClientHandle).AsInt()) != 0);
  EXPECT_EQ(SetCapture(edit.Get(0, prop::kWindowHandle).AsInt()), 0);
  host_thread.Take();
  other_thread.Take();

  // The host is behind the edit window on its thread, and the other window belongs to
  // another thread: both presses still go to the capturing window.
  ASSERT_TRUE(SendMouse(host.ref(), msg::kLButtonDown, 10, 20).ok());
  ASSERT_TRUE(SendMouse(other.ref(), msg::kLButtonDown, 5, 5).ok());
  ASSERT_TRUE(WaitUntilIdle(testing::kWait).ok());
  EXPECT_EQ(frame.lines(), (std::vector<std::string>{
                               "down -190,-130 mouse -190,-130",  // 100+10-300, 50+20-200
                               "down 305,-195 mouse 305,-195",    // 600+5-300, 0+5-200
                           }));
  EXPECT_EQ(host_thread.Take(), (std::vector<std::string>{"Accepted(1020)", "Accepted(1020)"}));
  EXPECT_TRUE(other_thread.Take().empty()) << "the other window saw nothing";

  ASSERT_TRUE(ActivateWindow(other.ref()).ok());
  EXPECT_EQ(host_thread.Take(), (std::vector<std::string>{"LoseFocus(0)"}));
  EXPECT_EQ(other_thread.Take(), (std::vector<std::string>{"GainFocus(0)"}));
  EXPECT_EQ(GetCapture(), 0);
  // Without capture the host, behind the edit window, refuses input.
  EXPECT_FALSE(SendMouse(host.ref(), msg::kLButtonDown, 10, 20).ok());
  UnregisterWindowProc(proc);
}

// Alert keys: a keycode in an AlertKey slot of the control with the focus or of the window
// arrives as an alert-key event with that KEYCODE; other keys do not.
TEST(WindowProcedureTest, AlertKeysArriveAsAlertKeyEventsWithTheirKeycode) {
  WindowThread t(
      [] {
        auto w = MakeWindow("Form");
        AddControl(*w, 1, ControlType::kEntry, "?E", 0, 0, 100, 20);
        AddControl(*w, 2, ControlType::kButton, "?B", 0, 30, 100, 20);
        w->Set(0, prop::kAlertKey, key::kCtrlAltD, 255);
        w->Set(0, prop::kAlertKey, key::kMouseRight, 3);
        w->Set(0, prop::kAlertKey, key::kMouseLeftDouble, 4);
        w->Set(1, prop::kAlertKey, key::kF10, 1);
        return std::vector{w};
      },
      [](Window&) { return " key " + key::KeyCodeName(KeyCode()); });
  Window& w = t.window(0);
  struct Case {
    const char* name;
    int focus;
    std::function<Status()> input;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"window key, focus on entry",
       1,
       [] { return SendKey(key::kCtrlAltD); },
       {"AlertKey(1) key Ctrl+Alt+D"}},
      {"window key, focus on button",
       2,
       [] { return SendKey(key::kCtrlAltD); },
       {"AlertKey(2) key Ctrl+Alt+D"}},
      {"control key, its control", 1, [] { return SendKey(key::kF10); }, {"AlertKey(1) key F10"}},
      {"control key, another control", 2, [] { return SendKey(key::kF10); }, {}},
      {"key not alerted", 1, [] { return SendKey(key::kEsc); }, {}},
      {"right button",
       1,
       [&] { return SendMouse(w.ref(), msg::kRButtonDown, 50, 100); },
       {"AlertKey(1) key MouseRight"}},
      {"double click",
       2,
       [&] { return SendMouse(w.ref(), msg::kLButtonDblClk, 50, 100); },
       {"AlertKey(2) key MouseLeftDouble"}},
      // The alerted key's character is swallowed: the entry stays empty.
      {"alerted letter",
       1,
       [&] {
         w.Set(0, prop::kAlertKey, key::kA + 23, 9);  // X
         return SendKey(key::kA + 23, 'x');
       },
       {"AlertKey(1) key X"}},
  };
  for (const Case& c : cases) {
    w.Select(c.focus);
    t.Take();
    ASSERT_TRUE(c.input().ok()) << c.name;
    EXPECT_EQ(t.Take(), c.expected) << c.name;
  }
  EXPECT_EQ(w.Contents(1).AsText(), "");
}

TEST(WindowProcedureTest, TypedTextIsAcceptedWhenTheFocusLeavesTheEntry) {
  std::string name;
  std::string seen_in_loop;
  WindowThread t(
      [&] {
        auto w = MakeWindow("Form");
        AddControl(*w, 1, ControlType::kEntry, "?NAME", 0, 0, 100, 20, 0, VarRef::Text(&name));
        AddControl(*w, 2, ControlType::kCheck, "?CHECK", 0, 30, 100, 20);
        return std::vector{w};
      },
      [&](Window&) {
        if (Event() == event::kAccepted && Field() == 1) seen_in_loop = name;
        return std::string();
      });
  Window& w = t.window(0);
  t.Take();
  ASSERT_TRUE(SendMouse(w.ref(), msg::kLButtonDown, 5, 5).ok());
  ASSERT_TRUE(SendMouse(w.ref(), msg::kLButtonUp, 5, 5).ok());
  for (char c : std::string("Hix")) ASSERT_TRUE(SendKey(key::KeyCodeForChar(c), c).ok());
  ASSERT_TRUE(SendKey(key::kBackspace).ok());
  ASSERT_TRUE(SendKey(key::kTab).ok());
  EXPECT_EQ(t.Take(), (std::vector<std::string>{"Selected(1)", "Accepted(1)", "Selected(2)"}));
  EXPECT_EQ(seen_in_loop, "Hi") << "the variable is updated before the event";
  // Space on the check box toggles it and accepts.
  ASSERT_TRUE(SendKey(key::kSpace, ' ').ok());
  EXPECT_EQ(t.Take(), (std::vector<std::string>{"Accepted(2)"}));
  EXPECT_EQ(w.Contents(2).AsInt(), 1);
}

TEST(WindowProcedureTest, MousePositionIsInTheTargetWindowsUnits) {
  for (const int pixels : {1, 0}) {
    WindowThread t(
        [&] {
          auto w = MakeWindow("Form", 40, 30);
          AddControl(*w, 1, ControlType::kButton, "?B", 0, 0, 200, 100);
          w->Set(0, prop::kPixels, pixels);
          return std::vector{w};
        },
        [](Window&) { return " at " + std::to_string(MouseX()) + "," + std::to_string(MouseY()); });
    t.Take();
    ASSERT_TRUE(SendMouse(t.window(0).ref(), msg::kLButtonDown, 30, 26).ok());
    // Default font cell 6x13: a dialog unit is 1.5 by 1.625 pixels.
    EXPECT_EQ(t.Take(),
              (std::vector<std::string>{pixels ? "Selected(1) at 30,26" : "Selected(1) at 20,16"}));
  }
}

class CountingObserver : public WindowObserver {
 public:
  void WindowOpened(WindowRef) override {}
  void WindowChanged(WindowRef ref) override {
    if (auto w = FindWindow(ref)) w->TakeChanges();
  }
  void WindowClosed(WindowRef) override {}
};

TEST(WindowProcedureTest, LockWindowUpdateHoldsChangesUntilUnlockedOnce) {
  CountingObserver observer;
  SetWindowObserver(&observer);
  auto a = OpenWindow(0, "A");
  auto b = OpenWindow(0, "B");
  const Handle ha = a->Get(0, prop::kWindowHandle).AsInt();
  const Handle hb = b->Get(0, prop::kWindowHandle).AsInt();
  EXPECT_FALSE(LockWindowUpdate(0)) << "nothing is locked";
  ASSERT_TRUE(LockWindowUpdate(ha));
  EXPECT_FALSE(LockWindowUpdate(hb)) << "one window at a time";
  const int64_t before = a->announcements();
  for (int i = 0; i < 5; ++i) a->Set(0, prop::kText, "T" + std::to_string(i));
  EXPECT_TRUE(InvalidateRect(ha, nullptr, true));
  EXPECT_EQ(a->announcements(), before) << "held back while locked";
  ASSERT_TRUE(LockWindowUpdate(0));
  EXPECT_EQ(a->announcements(), before + 1) << "shown once after unlocking";
  EXPECT_TRUE(InvalidateRect(hb, nullptr, false));
  EXPECT_FALSE(InvalidateRect(0, nullptr, false));
  SetWindowObserver(nullptr);
  CloseWindow(a->ref());
  CloseWindow(b->ref());
}

}  // namespace
}  // namespace rt
