// Input through the Qt display: keys as keycodes, pointer input as messages for the owning
// thread, the mouse capture, native parts (tabs), cursors and window resizing.
#include "runtime/event/keycodes.h"
#include "runtime/event/message.h"
#include "runtime/event/os_window.h"
#include "runtime/event/window_procedure.h"
#include "runtime/window/cursors.h"
#include "runtime/window/definition_codes.h"
#include "runtime/window/handles.h"
#include "tests/runtime/display_qt/qt_test_util.h"

namespace rt::testing {
namespace {

std::string Describe() { return event::EventName(Event()) + "(" + std::to_string(Field()) + ")"; }

struct KeyCase {
  const char* sequence;
  int keycode;
};

const KeyCase kKeys[] = {
    {"Ctrl+Alt+D", key::kCtrlAltD},
    {"Ctrl+H", key::kCtrlH},
    {"F10", key::kF10},
    {"Esc", key::kEsc},
    {"Shift+Tab", 0x109},
    {"Left", key::kLeft},
    {"Down", key::kDown},
    {"A", key::kA},
    {"Shift+A", key::kShift | key::kA},
    {"Delete", key::kDelete},
    {"Ctrl+Return", key::kCtrlEnter},
    {"7", key::k0 + 7},
};

TEST_F(QtDisplayTest, KeysArriveWithTheRuntimesKeycodes) {
  Log keycodes;
  Run(
      [&] {
        auto w = PixelWindow("Keys", 200, 100);
        int slot = 1;
        for (const KeyCase& k : kKeys) w->Set(0, prop::kAlertKey, k.keycode, slot++);
        Loop(w, [&] {
          if (Event() == event::kAlertKey) keycodes.Add(key::KeyCodeName(KeyCode()));
        });
      },
      [&] {
        WaitForWindow("Keys");
        std::vector<std::string> expected;
        for (const KeyCase& k : kKeys) {
          ASSERT_TRUE(user_->Key(k.sequence).ok()) << k.sequence;
          Settle();
          expected.push_back(key::KeyCodeName(k.keycode));
        }
        EXPECT_EQ(keycodes.lines(), expected);
      });
}

TEST_F(QtDisplayTest, PointerAndTypingReachTheWindowProcedure) {
  Log events;
  std::string name;
  Run(
      [&] {
        auto w = PixelWindow("Form", 300, 200);
        Add(*w, 1, ControlType::kEntry, 10, 10, 120, 22);
        w->Set(1, prop::kUppercase, 1);
        Add(*w, 2, ControlType::kButton, 10, 50, 80, 24);
        w->Set(2, prop::kText, "&Save");
        w->Set(0, prop::kAlertKey, key::kMouseRight, 1);
        Loop(w, [&] {
          if (Event() == event::kAccepted || Event() == event::kAlertKey) events.Add(Describe());
          if (Event() == event::kAccepted && Field() == 1) name = w->Contents(1).AsText();
        });
      },
      [&] {
        const WindowRef ref = WaitForWindow("Form");
        ASSERT_TRUE(user_->Click(ref, 50, 20).ok());  // the entry takes the focus
        ASSERT_TRUE(user_->Type("ab1").ok());
        Settle();
        ASSERT_TRUE(user_->Click(ref, 40, 60).ok());  // leaving the entry accepts it
        Settle();
        ASSERT_TRUE(user_->Pointer(ref, PointerAction::kPress, MouseButton::kRight, 200, 150).ok());
        Settle();
        EXPECT_EQ(events.lines(),
                  (std::vector<std::string>{"Accepted(1)", "Accepted(2)", "AlertKey(2)"}));
        EXPECT_EQ(name, "AB1");
      });
}

// While a hidden window of the same thread holds the capture (as edit mode's does), a press on
// the visible window reaches the capturing window, at the point relative to it; when the
// application loses the focus, the capturing window loses it too.
TEST_F(QtDisplayTest, CaptureTakesThePointerUntilTheApplicationLosesTheFocus) {
  Log seen;
  Run(
      [&] {
        auto host = PixelWindow("Host", 300, 200);
        Add(*host, 1, ControlType::kButton, 20, 20, 80, 24);
        ASSERT_TRUE(Open(host->ref()).ok());
        auto catcher = PixelWindow("Catcher", 50, 50);
        catcher->Set(0, prop::kXPos, 110);  // 100 pixels right of the host
        catcher->Set(0, prop::kHidden, 1);
        const ProcedureId proc =
            RegisterWindowProc([&](Handle h, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
              if (m == msg::kLButtonDown) {
                seen.Add("down " + std::to_string(msg::PointX(lp)) + "," +
                         std::to_string(msg::PointY(lp)));
              }
              return DefaultWindowProc(h, m, wp, lp);
            });
        catcher->Set(0, prop::kClientWindowProcedure, proc);
        catcher->Set(0, prop::kWindowProcedure, proc);
        ASSERT_TRUE(Open(catcher->ref()).ok());
        SetCapture(HandleOf(catcher->ref(), 0));
        while (Accept(catcher->ref())) {
          if (Event() == event::kLoseFocus) seen.Add("lost focus");
          if (Event() == event::kAccepted) seen.Add("accepted " + std::to_string(Field()));
        }
        UnregisterWindowProc(proc);
        Close(host->ref());
      },
      [&] {
        const WindowRef host = WaitForWindow("Host");
        WaitForWindow("Catcher");
        ASSERT_TRUE(user_->Click(host, 150, 30).ok());
        Settle();
        EXPECT_EQ(seen.lines(), std::vector<std::string>{"down 50,30"});
        ASSERT_TRUE(user_->LeaveApplication().ok());
        Settle();
        EXPECT_EQ(GetCapture(), 0);
        EXPECT_EQ(seen.lines(), (std::vector<std::string>{"down 50,30", "lost focus"}));
      });
}

TEST_F(QtDisplayTest, PressOnATabSelectsIt) {
  Log events;
  Run(
      [&] {
        auto w = PixelWindow("Sheet", 300, 200);
        Add(*w, 1, ControlType::kSheet, 0, 0, 300, 200);
        for (int tab = 2; tab <= 3; ++tab) {
          Add(*w, tab, ControlType::kTab, 0, 0, 300, 200, 1);
          w->Set(tab, prop::kText, tab == 2 ? "General" : "Extra");
        }
        Add(*w, 4, ControlType::kButton, 20, 60, 80, 24, 3);
        Loop(w, [&] {
          if (Event() == event::kNewSelection) {
            events.Add(Describe() + " tab " + std::to_string(w->Choice(1)) +
                       (w->IsVisible(4) ? " button shown" : ""));
          }
        });
      },
      [&] {
        const WindowRef ref = WaitForWindow("Sheet");
        // The second tab's caption lies right of the first one's, in the strip at the top.
        int x = 0;
        for (int probe = 40; probe < 200 && x == 0; probe += 4) {
          ASSERT_TRUE(user_->Click(ref, probe, 8).ok());
          Settle();
          if (!events.lines().empty()) x = probe;
        }
        EXPECT_EQ(events.lines(), std::vector<std::string>{"NewSelection(1) tab 2 button shown"});
      });
}

struct CursorCase {
  const char* control_cursor;  // the control's Cursor property, by name ("" none)
  const char* set_cursor;      // SETCURSOR, by name ("" none)
  const char* shown;
};

const CursorCase kCursors[] = {
    {"", "", "Arrow"},          {"SizeNS", "", "SizeNS"},     {"IBeam", "", "IBeam"},
    {"SizeNS", "Wait", "Wait"}, {"", "SizeNWSE", "SizeNWSE"},
};

class CursorTest : public QtDisplayTest, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(CursorTest, ShowsTheNamedCursor) {
  const CursorCase& c = GetParam();
  Run(
      [&] {
        auto w = PixelWindow("Cursors", 200, 100);
        Add(*w, 1, ControlType::kButton, 10, 10, 80, 24);
        if (*c.control_cursor) w->Set(1, prop::kCursor, *CursorCode(c.control_cursor));
        if (*c.set_cursor) SetCursor(*CursorCode(c.set_cursor));
        Loop(w);
        SetCursor("");
      },
      [&] {
        const WindowRef ref = WaitForWindow("Cursors");
        EXPECT_EQ(user_->CursorAt(ref, 20, 20), c.shown);
      });
}

INSTANTIATE_TEST_SUITE_P(Names, CursorTest, ::testing::ValuesIn(kCursors));

TEST_F(QtDisplayTest, ResizingTheWindowChangesItsSizeAndTellsTheProgram) {
  Log events;
  Run(
      [&] {
        auto w = PixelWindow("Sizes", 200, 100);
        w->Set(0, prop::kResizable, 1);
        Loop(w, [&] {
          if (Event() == event::kSized) {
            events.Add(Describe() + " " + w->Get(0, prop::kWidth).AsText() + "x" +
                       w->Get(0, prop::kHeight).AsText());
          }
        });
      },
      [&] {
        const WindowRef ref = WaitForWindow("Sizes");
        ASSERT_TRUE(user_->ResizeClient(ref, 260, 150).ok());
        Settle();
        EXPECT_EQ(events.lines(), std::vector<std::string>{"Sized(0) 260x150"});
        EXPECT_EQ(GrabOf(ref).width, 260);
      });
}

}  // namespace
}  // namespace rt::testing
