#include "runtime/display/headless/robot.h"

#include <algorithm>

#include "runtime/display/headless/state_dump.h"
#include "runtime/event/accept.h"
#include "runtime/event/idle.h"
#include "runtime/event/input.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/message.h"
#include "runtime/event/os_window.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/value/text.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

// Windows that can take input, most recently opened first.
std::vector<std::shared_ptr<Window>> OpenWindowsNewestFirst() {
  std::vector<std::shared_ptr<Window>> ws = OpenWindows();
  std::reverse(ws.begin(), ws.end());
  return ws;
}

std::string NameOf(WindowRef ref) {
  std::shared_ptr<Window> w = FindWindow(ref);
  if (!w) return "window " + std::to_string(ref);
  const std::string title = w->Get(0, prop::kText).AsText();
  return "window \"" + (title.empty() ? w->label() : title) + "\"";
}

}  // namespace

Robot::Robot(HeadlessDisplay& display) : display_(display) {}

Status Robot::Settle(Status acted) {
  if (!acted.ok()) {
    display_.TakeFailures();  // nothing else happened that the failure would hide
    return acted;
  }
  Status idle = WaitUntilIdle(display_.options().timeout);
  std::vector<std::string> failures = display_.TakeFailures();
  if (!failures.empty()) {
    std::string text;
    for (const std::string& f : failures) text += (text.empty() ? "" : "\n") + f;
    return Status::Failed(text);
  }
  return idle;
}

Status Robot::WaitIdle() { return Settle(Status::Ok()); }

WindowRef Robot::FindWindowNamed(std::string_view name) const {
  for (const auto& w : OpenWindowsNewestFirst()) {
    if (ClipEquals(w->label(), name) || ClipEquals(w->Get(0, prop::kText).AsText(), name)) {
      return w->ref();
    }
  }
  return 0;
}

WindowRef Robot::Focused() const { return FocusedWindow(); }

Status Robot::MouseTo(WindowRef window, int x, int y) {
  if (window == pointer_window_ && x == pointer_x_ && y == pointer_y_) return Status::Ok();
  const uintptr_t held =
      (left_down_ ? msg::kLeftButtonHeld : 0) | (right_down_ ? msg::kRightButtonHeld : 0);
  Status s = SendMouse(window, msg::kMouseMove, x, y, held);
  if (s.ok()) {
    pointer_window_ = window;
    pointer_x_ = x;
    pointer_y_ = y;
  }
  return s;
}

Status Robot::Move(WindowRef window, int x, int y) { return Settle(MouseTo(window, x, y)); }

Status Robot::Button(MouseButton button, bool down, bool double_click, WindowRef window, int x,
                     int y) {
  std::shared_ptr<Window> w = FindWindow(window);
  if (!w) return Status::NotFound("no " + NameOf(window));
  if (w->Get(0, prop::kHidden).AsInt() != 0) {
    return Status::Failed(NameOf(window) + " is hidden");
  }
  if (Status s = MouseTo(window, x, y); !s.ok()) return s;
  uint32_t message;
  if (button == MouseButton::kLeft) {
    message = down ? (double_click ? msg::kLButtonDblClk : msg::kLButtonDown) : msg::kLButtonUp;
    left_down_ = down;
  } else {
    message = down ? (double_click ? msg::kRButtonDblClk : msg::kRButtonDown) : msg::kRButtonUp;
    right_down_ = down;
  }
  const uintptr_t held =
      (left_down_ ? msg::kLeftButtonHeld : 0) | (right_down_ ? msg::kRightButtonHeld : 0);
  return SendMouse(window, message, x, y, held);
}

Status Robot::Press(MouseButton button, WindowRef window, int x, int y) {
  return Settle(Button(button, true, false, window, x, y));
}

Status Robot::Release(MouseButton button, WindowRef window, int x, int y) {
  return Settle(Button(button, false, false, window, x, y));
}

Status Robot::Click(MouseButton button, WindowRef window, int x, int y) {
  if (Status s = Press(button, window, x, y); !s.ok()) return s;
  // The press may have closed the window: the release then goes nowhere.
  if (!FindWindow(window)) {
    (button == MouseButton::kLeft ? left_down_ : right_down_) = false;
    return Status::Ok();
  }
  return Release(button, window, x, y);
}

Status Robot::DoubleClick(WindowRef window, int x, int y) {
  if (Status s = Click(MouseButton::kLeft, window, x, y); !s.ok()) return s;
  if (Status s = Settle(Button(MouseButton::kLeft, true, true, window, x, y)); !s.ok()) return s;
  return Release(MouseButton::kLeft, window, x, y);
}

Status Robot::Locate(std::string_view control, WindowRef window, WindowRef* found, int* x,
                     int* y) const {
  std::vector<std::shared_ptr<Window>> candidates;
  if (window != 0) {
    if (auto w = FindWindow(window)) candidates.push_back(w);
  } else {
    if (auto w = FindWindow(FocusedWindow())) candidates.push_back(w);
    for (auto& w : OpenWindowsNewestFirst()) candidates.push_back(w);
  }
  for (const auto& w : candidates) {
    const int feq = w->FieldByLabel(control);
    if (feq == 0) continue;
    if (!w->IsVisible(feq)) {
      return Status::Failed("control " + std::string(control) + " of " + NameOf(w->ref()) +
                            " is not visible");
    }
    const Rect r = w->PixelRect(feq);
    *found = w->ref();
    *x = static_cast<int>(r.x + r.width / 2);
    *y = static_cast<int>(r.y + r.height / 2);
    return Status::Ok();
  }
  return Status::NotFound("no control " + std::string(control) +
                          (window ? " in " + NameOf(window) : " in any open window"));
}

Status Robot::Move(std::string_view control, WindowRef window) {
  WindowRef w;
  int x, y;
  if (Status s = Locate(control, window, &w, &x, &y); !s.ok()) return s;
  return Move(w, x, y);
}

Status Robot::Press(MouseButton button, std::string_view control, WindowRef window) {
  WindowRef w;
  int x, y;
  if (Status s = Locate(control, window, &w, &x, &y); !s.ok()) return s;
  return Press(button, w, x, y);
}

Status Robot::Release(MouseButton button, std::string_view control, WindowRef window) {
  WindowRef w;
  int x, y;
  if (Status s = Locate(control, window, &w, &x, &y); !s.ok()) return s;
  return Release(button, w, x, y);
}

Status Robot::Click(MouseButton button, std::string_view control, WindowRef window) {
  WindowRef w;
  int x, y;
  if (Status s = Locate(control, window, &w, &x, &y); !s.ok()) return s;
  return Click(button, w, x, y);
}

Status Robot::DoubleClick(std::string_view control, WindowRef window) {
  WindowRef w;
  int x, y;
  if (Status s = Locate(control, window, &w, &x, &y); !s.ok()) return s;
  return DoubleClick(w, x, y);
}

Status Robot::Key(int keycode) {
  char typed = 0;
  if ((keycode & (key::kCtrl | key::kAlt)) == 0) {
    const int base = keycode & key::kBaseMask;
    const bool shift = keycode & key::kShift;
    if (base >= key::kA && base < key::kA + 26) {
      typed = static_cast<char>((shift ? 'A' : 'a') + (base - key::kA));
    } else if (base >= key::k0 && base < key::k0 + 10 && !shift) {
      typed = static_cast<char>('0' + (base - key::k0));
    } else if (base == key::kSpace) {
      typed = ' ';
    }
  }
  return Settle(SendKey(keycode, typed));
}

Status Robot::Type(std::string_view text) {
  for (const char c : text) {
    const int keycode = key::KeyCodeForChar(c);
    Status s = keycode != 0 && c != '\n' && c != '\t' ? SendKey(keycode, c)
               : keycode != 0                         ? SendKey(keycode)
                                                      : SendChar(c);
    if (s = Settle(s); !s.ok()) return s;
  }
  return Status::Ok();
}

Status Robot::Activate(WindowRef window) { return Settle(ActivateWindow(window)); }

Status Robot::Resize(WindowRef window, int width, int height) {
  std::shared_ptr<Window> w = FindWindow(window);
  if (!w) return Status::NotFound("no window " + std::to_string(window));
  Rect r = w->PixelRect(0);
  r.width = width;
  r.height = height;
  return Settle(ReportWindowGeometry(window, r));
}

Status Robot::LocateField(std::string_view control, WindowRef window, WindowRef* found, int* feq,
                          int* x, int* y) const {
  if (Status s = Locate(control, window, found, x, y); !s.ok()) return s;
  std::shared_ptr<Window> w = FindWindow(*found);
  *feq = w ? w->FieldByLabel(control) : 0;
  if (*feq == 0) return Status::NotFound("window " + NameOf(*found) + " has closed");
  return Status::Ok();
}

Status Robot::ChooseTab(std::string_view sheet, int tab, WindowRef window) {
  WindowRef w;
  int feq, x, y;
  if (Status s = LocateField(sheet, window, &w, &feq, &x, &y); !s.ok()) return s;
  return Settle(rt::ChooseTab(w, feq, tab));
}

Status Robot::ChooseRow(std::string_view control, int row, WindowRef window) {
  WindowRef w;
  int feq, x, y;
  if (Status s = LocateField(control, window, &w, &feq, &x, &y); !s.ok()) return s;
  // The press that drops the list down gives the control the focus first.
  if (Status s = Click(MouseButton::kLeft, w, x, y); !s.ok()) return s;
  return Settle(ChooseListRow(w, feq, row));
}

Status Robot::ChooseMenu(std::string_view item, WindowRef window) {
  auto text_of = [](const Window& w, int feq) {
    std::string text = w.Get(feq, prop::kText).AsText();
    std::erase(text, '&');
    return text;
  };
  std::string wanted(item);
  std::erase(wanted, '&');
  for (const auto& w : OpenWindowsNewestFirst()) {
    if (window != 0 && w->ref() != window) continue;
    for (int feq : w->Fields()) {
      if (w->TypeOf(feq) != ControlType::kItem) continue;
      if (ClipEquals(text_of(*w, feq), wanted) || ClipEquals(w->FieldName(feq), item)) {
        return Settle(SendCommand(w->ref(), feq));
      }
    }
  }
  return Status::NotFound("no menu item \"" + std::string(item) + "\"");
}

void Robot::AnswerMessage(int button, std::string expect) {
  PreparedAnswer a;
  a.kind = DialogKind::kMessage;
  a.answer.button = button;
  a.expect = std::move(expect);
  display_.Prepare(std::move(a));
}

void Robot::AnswerPopup(int item, std::string expect) {
  PreparedAnswer a;
  a.kind = DialogKind::kPopup;
  a.answer.item = item;
  a.expect = std::move(expect);
  display_.Prepare(std::move(a));
}

void Robot::AnswerColour(std::optional<int64_t> colour) {
  PreparedAnswer a;
  a.kind = DialogKind::kColour;
  a.answer.chosen = colour.has_value();
  a.answer.colour = colour.value_or(0);
  display_.Prepare(std::move(a));
}

void Robot::AnswerFile(std::optional<std::string> file) {
  PreparedAnswer a;
  a.kind = DialogKind::kFile;
  a.answer.chosen = file.has_value();
  a.answer.file = file.value_or("");
  display_.Prepare(std::move(a));
}

std::string Robot::DumpJson() const { return DumpWindowsJson(); }

Status Robot::Quit() {
  RequestCloseDown();
  const auto deadline = std::chrono::steady_clock::now() + display_.options().timeout;
  for (ThreadId id : RunningThreads()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    WaitForThreadEnd(id, std::max(left, std::chrono::milliseconds(0)));
  }
  std::vector<std::string> failures = display_.TakeFailures();
  if (!RunningThreads().empty()) {
    failures.push_back("runtime threads still running after close-down:\n" + DescribeThreads());
  }
  if (failures.empty()) return Status::Ok();
  std::string text;
  for (const std::string& f : failures) text += (text.empty() ? "" : "\n") + f;
  return Status::Failed(text);
}

}  // namespace rt
