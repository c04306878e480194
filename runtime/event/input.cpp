#include "runtime/event/input.h"

#include <algorithm>

#include "runtime/event/event_codes.h"
#include "runtime/event/message.h"
#include "runtime/event/os_window.h"
#include "runtime/event/thread_state.h"
#include "runtime/window/list_rows.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

using internal::QueueEntry;
using internal::State;
using internal::ThreadRecord;

void PushMessageLocked(ThreadRecord& owner, WindowRef window, Message m) {
  QueueEntry e;
  e.kind = QueueEntry::Kind::kMessage;
  e.window = window;
  e.message = m;
  internal::PushLocked(owner, std::move(e));
}

bool IsPress(uint32_t message) {
  return message == msg::kLButtonDown || message == msg::kRButtonDown ||
         message == msg::kMButtonDown || message == msg::kLButtonDblClk ||
         message == msg::kRButtonDblClk;
}

Status CheckTop(const ThreadRecord& owner, const Window& w) {
  if (owner.windows.empty() || owner.windows.back()->ref() == w.ref()) return Status::Ok();
  return Status::Failed("window " + w.label() + " is behind window " +
                        owner.windows.back()->label() + " of the same thread");
}

Status SendToFocus(uint32_t message, uintptr_t wparam) {
  std::lock_guard lock(State().mu);
  ThreadRecord* owner = nullptr;
  auto w = internal::FindOpenLocked(State().focus, &owner);
  if (!w || w->closed()) return Status::Failed("no window has the focus");
  PushMessageLocked(*owner, w->ref(), Message{ClientHandleOf(w->ref()), message, wparam, 0});
  return Status::Ok();
}

// `size` kept within [minimum, maximum]; a limit of 0 or less is no limit.
int64_t WithinLimits(int64_t size, int64_t minimum, int64_t maximum) {
  if (maximum > 0) size = std::min(size, std::max(maximum, minimum));
  if (minimum > 0) size = std::max(size, minimum);
  return std::max<int64_t>(0, size);
}

// Queues `event` for `field` of `window` on the window's owner thread.
void QueueWindowEvent(WindowRef window, int event, int field, bool from_input) {
  QueueEntry e;
  e.kind = QueueEntry::Kind::kEvent;
  e.event = event;
  e.field = field;
  e.from_input = from_input;
  internal::PushToWindowOwner(window, std::move(e));
}

// The window and control a choice is made in, when the user can make it there now.
Status ChoosableControl(WindowRef window, int feq, std::shared_ptr<Window>* out) {
  std::shared_ptr<Window> w = FindWindow(window);
  if (!w || w->closed()) {
    return Status::NotFound("window " + std::to_string(window) + " is not open");
  }
  if (feq <= 0 || !w->HasControl(feq)) {
    return Status::NotFound("no control " + std::to_string(feq) + " in " + w->label());
  }
  if (GetCapture() != 0) return Status::Failed("the pointer is captured");
  if (w->Get(feq, prop::kDisabled).AsInt() != 0) {
    return Status::Failed("control " + w->FieldName(feq) + " is disabled");
  }
  *out = std::move(w);
  return Status::Ok();
}

}  // namespace

Status ReportWindowGeometry(WindowRef window, const Rect& rect) {
  std::shared_ptr<Window> w = FindWindow(window);
  if (!w || w->closed()) {
    return Status::NotFound("window " + std::to_string(window) + " is not open");
  }
  Rect r = rect;
  r.width = WithinLimits(r.width, w->Get(0, prop::kMinimumWidth).AsInt(),
                         w->Get(0, prop::kMaximumWidth).AsInt());
  r.height = WithinLimits(r.height, w->Get(0, prop::kMinimumHeight).AsInt(),
                          w->Get(0, prop::kMaximumHeight).AsInt());
  const Rect before = w->PixelRect(0);
  if (r == before) return Status::Ok();
  if (Status s = w->SetPixelRect(0, r); !s.ok()) return s;
  if (r.width != before.width || r.height != before.height) {
    QueueWindowEvent(window, event::kSized, 0, false);
  }
  return Status::Ok();
}

Status ChooseTab(WindowRef window, int sheet, int tab) {
  std::shared_ptr<Window> w;
  if (Status s = ChoosableControl(window, sheet, &w); !s.ok()) return s;
  if (w->TypeOf(sheet) != ControlType::kSheet) {
    return Status::InvalidArgument(w->FieldName(sheet) + " is not a sheet");
  }
  int tabs = 0;
  for (int feq : w->Fields()) {
    if (w->ParentOf(feq) == sheet && w->TypeOf(feq) == ControlType::kTab) ++tabs;
  }
  if (tab < 1 || tab > tabs) {
    return Status::InvalidArgument(w->FieldName(sheet) + " has no tab " + std::to_string(tab));
  }
  if (w->Choice(sheet) == tab) return Status::Ok();
  if (Status s = w->SetContents(sheet, Value(tab)); !s.ok()) return s;
  QueueWindowEvent(window, event::kNewSelection, sheet, true);
  return Status::Ok();
}

Status ChooseListRow(WindowRef window, int feq, int row) {
  std::shared_ptr<Window> w;
  if (Status s = ChoosableControl(window, feq, &w); !s.ok()) return s;
  const ControlType type = w->TypeOf(feq);
  const bool combo = type == ControlType::kCombo || type == ControlType::kDropCombo;
  if (!combo && type != ControlType::kDropList) {
    return Status::InvalidArgument(w->FieldName(feq) + " has no list to drop down");
  }
  if (row < 1 || row > ListRowCount(*w, feq)) {
    return Status::InvalidArgument(w->FieldName(feq) + " has no row " + std::to_string(row));
  }
  if (Status s = w->Set(feq, prop::kSelectedRow, row); !s.ok()) return s;
  if (combo) w->SetContents(feq, Value(ListCell(*w, feq, row, 0)));
  QueueWindowEvent(window, event::kNewSelection, feq, true);
  return Status::Ok();
}

Status SendMouse(WindowRef window, uint32_t message, int x, int y, uintptr_t buttons) {
  if (!msg::IsMouseMessage(message)) return Status::InvalidArgument("not a mouse message");
  std::lock_guard lock(State().mu);
  internal::EventState& s = State();
  ThreadRecord* owner = nullptr;
  auto w = internal::FindOpenLocked(window, &owner);
  if (!w || w->closed())
    return Status::NotFound("window " + std::to_string(window) + " is not open");
  if (s.capture != 0) {
    const HandleTarget t = DecodeHandle(s.capture);
    ThreadRecord* cowner = nullptr;
    auto cw = internal::FindOpenLocked(t.window, &cowner);
    if (cw && !cw->closed()) {
      const Rect from = w->PixelRect(0);
      const Rect to = cw->PixelRect(0);
      const int cx = static_cast<int>(from.x + x - to.x);
      const int cy = static_cast<int>(from.y + y - to.y);
      PushMessageLocked(*cowner, cw->ref(),
                        Message{s.capture, message, buttons, msg::PackPoint(cx, cy)});
      return Status::Ok();
    }
    s.capture = 0;  // its window has gone
  }
  if (Status st = CheckTop(*owner, *w); !st.ok()) return st;
  if (IsPress(message) && s.focus != window) internal::ChangeFocusLocked(window);
  PushMessageLocked(*owner, window,
                    Message{ClientHandleOf(window), message, buttons, msg::PackPoint(x, y)});
  return Status::Ok();
}

Status SendKey(int keycode, char typed) {
  if (Status s = SendToFocus(msg::kKeyDown, static_cast<uintptr_t>(keycode)); !s.ok()) return s;
  if (typed != 0) return SendChar(typed);
  return Status::Ok();
}

Status SendChar(char c) { return SendToFocus(msg::kChar, static_cast<unsigned char>(c)); }

Status SendCommand(WindowRef window, int item) {
  std::lock_guard lock(State().mu);
  ThreadRecord* owner = nullptr;
  auto w = internal::FindOpenLocked(window, &owner);
  if (!w || w->closed())
    return Status::NotFound("window " + std::to_string(window) + " is not open");
  if (!w->HasControl(item)) {
    return Status::NotFound("window " + w->label() + " has no menu item " + std::to_string(item));
  }
  if (Status st = CheckTop(*owner, *w); !st.ok()) return st;
  PushMessageLocked(*owner, window,
                    Message{HandleOf(window, 0), msg::kCommand, static_cast<uintptr_t>(item), 0});
  return Status::Ok();
}

Status ActivateWindow(WindowRef window) {
  std::lock_guard lock(State().mu);
  auto w = internal::FindOpenLocked(window);
  if (!w || w->closed())
    return Status::NotFound("window " + std::to_string(window) + " is not open");
  internal::ChangeFocusLocked(window);
  return Status::Ok();
}

}  // namespace rt
