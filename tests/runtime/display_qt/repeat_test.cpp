// Held repeat: a held spin arrow keeps stepping and a held repeating button keeps being
// pressed, after the control's Delay and every Repeat hundredths of a second, until the
// pointer is released; a button without Repeat is pressed once, on release.
#include <chrono>
#include <string>
#include <thread>

#include "runtime/event/keycodes.h"
#include "tests/runtime/display_qt/qt_test_util.h"

namespace rt::testing {
namespace {

struct RepeatCase {
  const char* name;
  ControlType type;
  int repeat;         // Repeat, hundredths of a second (0: not set)
  int px, py;         // where the pointer presses, relative to the control
  const char* event;  // what each press or repeat raises, with the keycode it leaves
  int while_held;     // how many of them at least while held (0: none, then one on release)
};

constexpr int kX = 10, kY = 10, kW = 90, kH = 26;

const RepeatCase kCases[] = {
    // The up arrow lies at the right end of the spin box, in its upper half.
    {"SpinUpArrow", ControlType::kSpin, 2, kW - 5, kH / 4, "NewSelection(1) Up", 3},
    {"RepeatingButton", ControlType::kButton, 2, kW / 2, kH / 2, "Accepted(1) MouseLeft", 3},
    {"PlainButton", ControlType::kButton, 0, kW / 2, kH / 2, "Accepted(1) MouseLeft", 0},
};

// Long enough for many repeats at the cases' pace, were any still running.
constexpr std::chrono::milliseconds kQuiet{400};

class HeldRepeatTest : public QtDisplayTest, public ::testing::WithParamInterface<RepeatCase> {
 protected:
  // Waits until `log` holds at least `n` lines.
  bool WaitForLines(const Log& log, size_t n) {
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    while (log.lines().size() < n) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
};

TEST_P(HeldRepeatTest, RepeatsWhileHeldAndStopsOnRelease) {
  const RepeatCase& c = GetParam();
  Log events;
  Run(
      [&] {
        auto w = PixelWindow("Held", 200, 100);
        Add(*w, 1, c.type, kX, kY, kW, kH);
        w->Set(1, prop::kText, "Hold");
        w->Set(1, prop::kDelay, 5);
        if (c.repeat > 0) w->Set(1, prop::kRepeat, c.repeat);
        Loop(w, [&] {
          if (Event() == event::kAccepted || Event() == event::kNewSelection) {
            events.Add(event::EventName(Event()) + "(" + std::to_string(Field()) + ") " +
                       key::KeyCodeName(KeyCode()));
          }
        });
      },
      [&] {
        const WindowRef ref = WaitForWindow("Held");
        const int x = kX + c.px, y = kY + c.py;
        ASSERT_TRUE(user_->Pointer(ref, PointerAction::kPress, MouseButton::kLeft, x, y).ok());
        if (c.while_held > 0) {
          EXPECT_TRUE(WaitForLines(events, static_cast<size_t>(c.while_held)))
              << events.lines().size() << " while held";
        } else {
          std::this_thread::sleep_for(kQuiet);
          Settle();
          EXPECT_EQ(events.lines().size(), 0u);
        }
        ASSERT_TRUE(user_->Pointer(ref, PointerAction::kRelease, MouseButton::kLeft, x, y).ok());
        Settle();
        const size_t released = events.lines().size();
        std::this_thread::sleep_for(kQuiet);
        Settle();
        const std::vector<std::string> lines = events.lines();
        EXPECT_EQ(lines.size(), released) << "still repeating after the release";
        for (const std::string& line : lines) EXPECT_EQ(line, c.event);
        if (c.while_held == 0) {
          EXPECT_EQ(lines.size(), 1u);
        }
      });
}

INSTANTIATE_TEST_SUITE_P(Controls, HeldRepeatTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rt::testing
