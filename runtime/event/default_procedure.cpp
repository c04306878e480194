// The default window procedure: how OS-style messages become runtime events.
//
// Rules (all coordinates in client pixels of the message's window):
// - Set focus / kill focus: gain focus (206h) / lose focus (205h) for the window; a message
//   that no longer holds by the time it runs (the window got the focus back, or lost it again)
//   is dropped.
// - Any press or key first sets KEYCODE (mouse keycodes for presses). If that keycode is in an
//   AlertKey slot (7D06h, index 1..255) of the control with the focus or of the window, the
//   input becomes an alert-key event (0Fh) for the control with the focus and nothing else
//   happens (the character a key would type is swallowed).
// - Left press: the control under the pointer (the innermost visible one; among overlapping
//   siblings the one with the highest field equate) takes the focus if it can (entries, texts,
//   spin boxes, combos, lists, drop lists, buttons, check boxes, radios, sheets; not disabled).
//   On a list it selects the row under the pointer (list_layout.h: below the header band,
//   from the first visible row; past the last row, the last row) and raises new selection (2);
//   a press on the header band selects nothing.
// - Left release over the control that was pressed: a button raises accepted (1); a check box
//   toggles between its true value (Value 7F12h, default 1) and its false value (7F13h,
//   default 0) and raises accepted; a radio gives its option group the radio's value (Value,
//   else its text) and raises accepted for the option group.
// - Double click: a list raises accepted (not on its header band); otherwise as a press.
// - Keys: Tab / Shift+Tab move the focus along the tab chain (skipping hidden, disabled and
//   Skip controls); Enter accepts an entry, spin box or combo and presses a button; Space
//   presses a button, check box or radio; Up/Down/Home/End/PageUp/PageDown move a list's
//   selection (new selection) and step a spin box (Step 7C83h within RangeLow/RangeHigh, new
//   selection); Backspace and Delete edit text.
// - Characters go to the text control with the focus (not read-only): the first character after
//   the control takes the focus replaces its contents, later ones append (Uppercase 7C89h folds
//   them). A text control the user changed raises accepted when the focus leaves it.
// - A control that takes the focus raises selected (101h).
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "runtime/dialog/dialog.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/message.h"
#include "runtime/event/os_window.h"
#include "runtime/event/thread_state.h"
#include "runtime/event/window_procedure.h"
#include "runtime/window/definition_codes.h"
#include "runtime/window/list_layout.h"
#include "runtime/window/list_rows.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/std_actions.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

using internal::EmitEvent;

// Per-thread input state of the default procedure, keyed by window.
struct InputState {
  std::map<WindowRef, int> pressed;              // control under the last left press
  std::set<std::pair<WindowRef, int>> modified;  // text controls the user changed
  std::pair<WindowRef, int> editing{0, 0};       // control the user last typed into
  bool swallow_char = false;                     // the last key down was an alert key
};

thread_local InputState t_input;

bool CanTakeFocus(ControlType type) {
  switch (type) {
    case ControlType::kEntry:
    case ControlType::kText:
    case ControlType::kRtfText:
    case ControlType::kSpin:
    case ControlType::kCombo:
    case ControlType::kDropCombo:
    case ControlType::kList:
    case ControlType::kDropList:
    case ControlType::kButton:
    case ControlType::kCheck:
    case ControlType::kRadio:
    case ControlType::kSheet:
    case ControlType::kCustom:
      return true;
    default:
      return false;
  }
}

bool Enabled(const Window& w, int feq) {
  for (int f = feq; f != 0; f = w.ParentOf(f)) {
    if (w.Get(f, prop::kDisabled).AsInt() != 0) return false;
  }
  return w.Get(0, prop::kDisabled).AsInt() == 0;
}

bool Focusable(const Window& w, int feq) {
  return feq > 0 && CanTakeFocus(w.TypeOf(feq)) && w.IsVisible(feq) && Enabled(w, feq);
}

int Depth(const Window& w, int feq) {
  int depth = 0;
  for (int f = w.ParentOf(feq); f != 0 && depth < 64; f = w.ParentOf(f)) ++depth;
  return depth;
}

int HitTest(const Window& w, int x, int y) {
  int best = 0;
  int best_depth = -1;
  for (int f : w.Fields()) {
    if (f <= 0 || !w.IsVisible(f) || !w.PixelRect(f).Contains(x, y)) continue;
    const int depth = Depth(w, f);
    if (depth >= best_depth) {
      best = f;
      best_depth = depth;
    }
  }
  return best;
}

bool Alerted(const Window& w, int feq, int keycode) {
  if (keycode == 0) return false;
  auto in_slots = [&](int f) {
    for (int slot = 1; slot <= 255; ++slot) {
      if (w.Get(f, prop::kAlertKey, slot).AsInt() == keycode) return true;
    }
    return false;
  };
  return (feq > 0 && in_slots(feq)) || in_slots(0);
}

// Sets KEYCODE and raises the alert-key event when `keycode` is alerted. True when it was.
bool KeyInput(Window& w, int keycode) {
  SetKeyCode(keycode);
  if (!Alerted(w, w.focus(), keycode)) return false;
  EmitEvent(w.ref(), event::kAlertKey, w.focus(), true);
  return true;
}

void MoveFocus(Window& w, int to) {
  const int from = w.focus();
  if (from == to) return;
  if (t_input.modified.erase({w.ref(), from})) EmitEvent(w.ref(), event::kAccepted, from, true);
  w.Select(to);
  if (to != 0) EmitEvent(w.ref(), event::kSelected, to, true);
}

std::vector<int> TabOrder(const Window& w) {
  std::vector<int> chain = w.TabChain();
  for (int f : w.Fields()) {
    if (f > 0 && std::find(chain.begin(), chain.end(), f) == chain.end()) chain.push_back(f);
  }
  return chain;
}

void Tab(Window& w, bool backwards) {
  std::vector<int> chain = TabOrder(w);
  chain.erase(
      std::remove_if(chain.begin(), chain.end(),
                     [&](int f) { return !Focusable(w, f) || w.Get(f, prop::kSkip).AsInt() != 0; }),
      chain.end());
  if (chain.empty()) return;
  if (backwards) std::reverse(chain.begin(), chain.end());
  auto it = std::find(chain.begin(), chain.end(), w.focus());
  const int next = (it == chain.end() || it + 1 == chain.end()) ? chain.front() : *(it + 1);
  MoveFocus(w, next);
}

void SelectRow(Window& w, int feq, int row) {
  const int count = ListRowCount(w, feq);
  if (count == 0) return;
  row = std::clamp(row, 1, count);
  if (w.Get(feq, prop::kSelectedRow).AsInt() == row) return;
  w.Set(feq, prop::kSelectedRow, row);
  EmitEvent(w.ref(), event::kNewSelection, feq, true);
}

void StepSpin(Window& w, int feq, int direction) {
  const Value step_v = w.Get(feq, prop::kStep);
  const double step = step_v.AsText().empty() ? 1 : step_v.AsNumber();
  double value = w.Contents(feq).AsNumber() + direction * step;
  const Value low = w.Get(feq, prop::kRangeLow);
  const Value high = w.Get(feq, prop::kRangeHigh);
  if (!low.AsText().empty()) value = std::max(value, low.AsNumber());
  if (!high.AsText().empty()) value = std::min(value, high.AsNumber());
  w.SetContents(feq, Value(value));
  t_input.modified.insert({w.ref(), feq});
  EmitEvent(w.ref(), event::kNewSelection, feq, true);
}

// Presses a button, check box or radio (a completed click or Space).
void Press(Window& w, int feq) {
  switch (w.TypeOf(feq)) {
    case ControlType::kButton:
      EmitEvent(w.ref(), event::kAccepted, feq, true);
      break;
    case ControlType::kCheck: {
      const Value t = w.Get(feq, prop::kValue);
      const Value f = w.Get(feq, prop::kFalseValue);
      const Value on = t.AsText().empty() ? Value(1) : t;
      const Value off = f.AsText().empty() ? Value(0) : f;
      const bool checked = ClipEquals(w.Contents(feq).AsText(), on.AsText());
      w.SetContents(feq, checked ? off : on);
      EmitEvent(w.ref(), event::kAccepted, feq, true);
      break;
    }
    case ControlType::kRadio: {
      const int option = w.ParentOf(feq);
      const Value v = w.Get(feq, prop::kValue);
      const Value value = v.AsText().empty() ? w.Get(feq, prop::kText) : v;
      if (option != 0 && w.TypeOf(option) == ControlType::kOption) {
        w.SetContents(option, value);
        EmitEvent(w.ref(), event::kAccepted, option, true);
      } else {
        w.SetContents(feq, value);
        EmitEvent(w.ref(), event::kAccepted, feq, true);
      }
      break;
    }
    default:
      break;
  }
}

void LeftPress(Window& w, int x, int y, bool double_click) {
  if (KeyInput(w, double_click ? key::kMouseLeftDouble : key::kMouseLeft)) return;
  const int hit = HitTest(w, x, y);
  t_input.pressed[w.ref()] = hit;
  if (hit == 0) return;
  if (Focusable(w, hit)) MoveFocus(w, hit);
  if (!Enabled(w, hit)) return;
  const ControlType type = w.TypeOf(hit);
  if (type == ControlType::kList) {
    // The header band is no row: a press there selects nothing, and a double click there
    // accepts nothing (it would act on a row the user did not point at).
    const int row = ListRowAt(LayoutOfList(w, hit), y - w.PixelRect(hit).y);
    if (row == 0) return;
    SelectRow(w, hit, row);
    if (double_click) EmitEvent(w.ref(), event::kAccepted, hit, true);
  }
}

void LeftRelease(Window& w, int x, int y) {
  auto it = t_input.pressed.find(w.ref());
  if (it == t_input.pressed.end()) return;
  const int pressed = it->second;
  t_input.pressed.erase(it);
  if (pressed == 0 || HitTest(w, x, y) != pressed || !Enabled(w, pressed)) return;
  Press(w, pressed);
}

// Removes the last UTF-8 character of `text`.
void DropLastCharacter(std::string& text) {
  while (!text.empty()) {
    const unsigned char c = static_cast<unsigned char>(text.back());
    text.pop_back();
    if ((c & 0xC0) != 0x80) break;
  }
}

bool Editable(const Window& w, int feq) {
  return feq > 0 && IsTextInput(w.TypeOf(feq)) && Enabled(w, feq) &&
         w.Get(feq, prop::kReadOnly).AsInt() == 0;
}

// The contents a text edit starts from: empty when the user starts on a control afresh (the
// first key replaces what the control showed), else what the user has typed so far.
std::string EditBase(const Window& w, int feq) {
  if (t_input.editing != std::pair<WindowRef, int>{w.ref(), feq}) return "";
  return w.Contents(feq).AsText();
}

void SetEdited(Window& w, int feq, std::string text) {
  t_input.editing = {w.ref(), feq};
  w.SetContents(feq, Value(std::move(text)));
  t_input.modified.insert({w.ref(), feq});
}

void KeyDown(Window& w, int keycode) {
  t_input.swallow_char = KeyInput(w, keycode);
  if (t_input.swallow_char) return;
  const int f = w.focus();
  const ControlType type = f > 0 ? w.TypeOf(f) : ControlType::kWindow;
  const int base = keycode & key::kBaseMask;
  const int mods = keycode & key::kModifierMask;
  if (base == key::kTab && (mods & ~key::kShift) == 0) {
    Tab(w, mods == key::kShift);
    return;
  }
  if (f <= 0 || mods & (key::kCtrl | key::kAlt)) return;
  switch (base) {
    case key::kEnter:
      if (type == ControlType::kButton) {
        Press(w, f);
      } else if (type == ControlType::kText || type == ControlType::kRtfText) {
        if (Editable(w, f)) SetEdited(w, f, EditBase(w, f) + "\n");
      } else if (IsTextInput(type)) {
        t_input.modified.erase({w.ref(), f});
        EmitEvent(w.ref(), event::kAccepted, f, true);
      }
      t_input.swallow_char = true;
      return;
    case key::kSpace:
      if (type == ControlType::kButton || type == ControlType::kCheck ||
          type == ControlType::kRadio) {
        Press(w, f);
        t_input.swallow_char = true;
      }
      return;
    case key::kBackspace:
    case key::kDelete:
      if (Editable(w, f)) {
        std::string text = EditBase(w, f);
        if (base == key::kBackspace) DropLastCharacter(text);
        if (base == key::kDelete) text.clear();
        SetEdited(w, f, std::move(text));
      }
      t_input.swallow_char = true;
      return;
    case key::kUp:
    case key::kDown:
    case key::kHome:
    case key::kEnd:
    case key::kPageUp:
    case key::kPageDown: {
      if (type == ControlType::kSpin && (base == key::kUp || base == key::kDown)) {
        StepSpin(w, f, base == key::kUp ? 1 : -1);
      } else if (IsListControl(type)) {
        const int row = static_cast<int>(w.Get(f, prop::kSelectedRow).AsInt());
        const int page = std::max<int>(1, static_cast<int>(w.Get(f, prop::kVisibleRows).AsInt()));
        const int count = ListRowCount(w, f);
        int target = row;
        if (base == key::kUp) target = row - 1;
        if (base == key::kDown) target = row + 1;
        if (base == key::kHome) target = 1;
        if (base == key::kEnd) target = count;
        if (base == key::kPageUp) target = row - page;
        if (base == key::kPageDown) target = row + page;
        SelectRow(w, f, target);
      }
      return;
    }
    default:
      return;
  }
}

void Char(Window& w, uintptr_t c) {
  internal::SetKeyChar(static_cast<int>(c));
  if (t_input.swallow_char) {
    t_input.swallow_char = false;
    return;
  }
  const int f = w.focus();
  if (c < 0x20 || c == 0x7F || c > 0xFF || !Editable(w, f)) return;
  char ch = static_cast<char>(c);
  if (w.Get(f, prop::kUppercase).AsInt() != 0) {
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  }
  SetEdited(w, f, EditBase(w, f) + ch);
}

// A chosen menu item: the runtime's standard frame actions are performed here; any other item
// is accepted by the program's loop.
void MenuCommand(Window& w, int item) {
  if (w.TypeOf(item) != ControlType::kItem || w.Get(item, prop::kDisabled).AsInt() != 0) return;
  const std::string action = w.Get(item, prop::kStdAction).AsText();
  if (action.empty()) {
    EmitEvent(w.ref(), event::kAccepted, item, true);
    return;
  }
  switch (StdActionFromName(action).value_or(StdAction::kPrintSetup)) {
    case StdAction::kExit:
      EmitEvent(w.ref(), event::kCloseWindow, 0, false);
      break;
    case StdAction::kTileWindow:
    case StdAction::kCascadeWindow:
    case StdAction::kArrangeIcons:
      w.Set(0, prop::kLastFrameAction, action);  // the display arranges the frame's children
      break;
    default:
      MessageBox("This action is not available on this platform.", w.Get(0, prop::kText).AsText(),
                 "Asterisk", button::kOk, button::kOk);
      break;
  }
}

}  // namespace

intptr_t DefaultWindowProc(Handle handle, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  std::shared_ptr<Window> w = FindWindow(DecodeHandle(handle).window);
  if (!w || w->closed()) return 0;
  const int x = msg::PointX(lparam);
  const int y = msg::PointY(lparam);
  switch (message) {
    case msg::kSetFocus:
      if (FocusedWindow() == w->ref()) EmitEvent(w->ref(), event::kGainFocus, 0, false);
      break;
    case msg::kKillFocus:
      if (FocusedWindow() != w->ref()) {
        // Leaving the window also leaves the control being edited.
        const int f = w->focus();
        if (t_input.modified.erase({w->ref(), f})) EmitEvent(w->ref(), event::kAccepted, f, true);
        EmitEvent(w->ref(), event::kLoseFocus, 0, false);
      }
      break;
    case msg::kLButtonDown:
      LeftPress(*w, x, y, false);
      break;
    case msg::kLButtonDblClk:
      LeftPress(*w, x, y, true);
      break;
    case msg::kLButtonUp:
      LeftRelease(*w, x, y);
      break;
    case msg::kRButtonDown:
      KeyInput(*w, key::kMouseRight);
      break;
    case msg::kRButtonDblClk:
      KeyInput(*w, key::kMouseRightDouble);
      break;
    case msg::kMButtonDown:
      KeyInput(*w, key::kMouseCenter);
      break;
    case msg::kKeyDown:
      KeyDown(*w, static_cast<int>(wparam));
      break;
    case msg::kChar:
      Char(*w, wparam);
      break;
    case msg::kCommand:
      MenuCommand(*w, static_cast<int>(wparam));
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace rt
