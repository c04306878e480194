#include "twiqlib/editmode/grab_handles.h"

#include <algorithm>
#include <vector>

#include "runtime/event/os_window.h"
#include "runtime/value/value.h"
#include "runtime/window/cursors.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/target.h"

namespace twiq {

namespace prop = rt::prop;

namespace {

constexpr int kSheetType = 37;
constexpr int kTabType = 38;
// A press this close below the top of the last sheet or tab found is on the tab strip.
constexpr int64_t kTabStripHeight = 20;

struct Candidate {
  int feq;
  int64_t size;  // width plus height
  int type;
};

int64_t Geometry(const rt::Window& w, int feq, int code) { return w.Get(feq, code).AsInt(); }

void ShowCursor(std::string_view name) { rt::SetCursor(rt::CursorCode(name).value_or("")); }

// x + a/2 - b/2 computed exactly and converted to a whole number as the runtime converts.
int64_t Middle(int64_t x, int64_t a, int64_t b) {
  return rt::Value(static_cast<double>(x) + a / 2.0 - b / 2.0).AsInt();
}

}  // namespace

std::string_view HandleCursorName(int handle) {
  switch (handle) {
    case 1:
    case 5:
      return "SizeNWSE";
    case 3:
    case 7:
      return "SizeNESW";
    case 2:
    case 6:
      return "SizeNS";
    case 4:
    case 8:
      return "SizeWE";
    default:
      return "Arrow";
  }
}

void GrabHandles::InitHandles(int feq) {
  if (std::shared_ptr<rt::Window> target = rt::Target()) target->Set(0, prop::kPixels, 1);
  session_.host.Set(0, prop::kPixels, 1);
  control_no_ = feq;
  hborder_colour_ = 0;
  hcontents_colour_ = 255;
  hsize_ = 6;
  for (int k = 0; k < kHandleCount; ++k) hno_[k] = kFirstHandleFeq + k;
}

GrabHandles::SelectedRect GrabHandles::HandleFrame() const {
  const rt::Window& host = session_.host;
  if (control_no_ == 0) {
    return {0, 0, Geometry(host, 0, prop::kWidth), Geometry(host, 0, prop::kHeight)};
  }
  return {Geometry(host, control_no_, prop::kXPos), Geometry(host, control_no_, prop::kYPos),
          Geometry(host, control_no_, prop::kWidth), Geometry(host, control_no_, prop::kHeight)};
}

void GrabHandles::DrawHandles() {
  rt::Window& host = session_.host;
  const auto [x, y, w, h] = HandleFrame();
  const int64_t s = hsize_;
  const int64_t mid_x = Middle(x, w, s);
  const int64_t mid_y = Middle(y, h, s);
  const int64_t right = x + w - s;
  const int64_t bottom = y + h - s;
  hx_ = {x, mid_x, right, right, right, mid_x, x, x};
  hy_ = {y, y, y, mid_y, bottom, bottom, bottom, mid_y};
  for (int k = 0; k < kHandleCount; ++k) {
    const int feq = hno_[k];
    if (!host.HasControl(feq)) {
      rt::ControlSpec control;
      control.feq = feq;
      control.type = rt::ControlType::kRegion;
      host.Create(control);
    }
    host.Set(feq, prop::kFillColour, hcontents_colour_);
    host.Set(feq, prop::kBackgroundColour, hborder_colour_);
    host.Set(feq, prop::kHandleFrame, 1);
    host.Set(feq, prop::kWidth, s);
    host.Set(feq, prop::kHeight, s);
    host.Set(feq, prop::kXPos, hx_[k]);
    host.Set(feq, prop::kYPos, hy_[k]);
    host.Set(feq, prop::kHidden, 0);
  }
  if (session_.edit) rt::SetTarget(session_.edit->ref());
}

void GrabHandles::RemoveHandles() {
  rt::SetTarget(session_.host.ref());
  for (int feq : hno_) {
    if (session_.host.HasControl(feq)) session_.host.Destroy(feq);
  }
  if (session_.edit) rt::SetTarget(session_.edit->ref());
}

void GrabHandles::RepaintHost() {
  rt::InvalidateRect(session_.host.Get(0, prop::kWindowHandle).AsInt(), nullptr, true);
}

int64_t GrabHandles::MouseXInHost(PointerPos pointer) const {
  const int64_t edit_x = session_.edit ? Geometry(*session_.edit, 0, prop::kXPos) : 0;
  return pointer.x + edit_x - Geometry(session_.host, 0, prop::kXPos);
}

int64_t GrabHandles::MouseYInHost(PointerPos pointer) const {
  const int64_t edit_y = session_.edit ? Geometry(*session_.edit, 0, prop::kYPos) : 0;
  return pointer.y + edit_y - Geometry(session_.host, 0, prop::kYPos);
}

int GrabHandles::HandleAtMouse(PointerPos pointer) const {
  const int64_t mx = MouseXInHost(pointer);
  const int64_t my = MouseYInHost(pointer);
  for (int k = 0; k < kHandleCount; ++k) {
    if (hx_[k] <= mx && mx <= hx_[k] + hsize_ && hy_[k] <= my && my <= hy_[k] + hsize_) {
      return k + 1;
    }
  }
  return 0;
}

uint8_t GrabHandles::PointerOnSelection(PointerPos pointer) const {
  if (mouse_is_down_ != 1) return 0;
  const rt::Window& host = session_.host;
  // With the window selected its rectangle is its position in its parent and its size.
  const int feq = control_no_;
  const int64_t x = Geometry(host, feq, prop::kXPos);
  const int64_t y = Geometry(host, feq, prop::kYPos);
  const int64_t w = Geometry(host, feq, prop::kWidth);
  const int64_t h = Geometry(host, feq, prop::kHeight);
  const int64_t mx = MouseXInHost(pointer);
  const int64_t my = MouseYInHost(pointer);
  return (x < mx && mx < x + w && y < my && my < y + h) ? 1 : 0;
}

int GrabHandles::ChooseAt(int64_t px, int64_t py) const {
  const rt::Window& host = session_.host;
  const int64_t host_x = Geometry(host, 0, prop::kXPos);
  const int64_t host_y = Geometry(host, 0, prop::kYPos);
  std::vector<Candidate> queue;  // ascending size; equal sizes in the order found
  int64_t last_top = 0;
  for (int f : host.Fields()) {
    if (f < first_control_ || f > last_control_) continue;
    if (host.Get(f, prop::kVisible).AsInt() == 0) continue;
    const int64_t cx = Geometry(host, f, prop::kXPos) + host_x;
    const int64_t cy = Geometry(host, f, prop::kYPos) + host_y;
    const int64_t w = Geometry(host, f, prop::kWidth);
    const int64_t h = Geometry(host, f, prop::kHeight);
    if (cx <= px && px <= cx + w && cy <= py && py <= cy + h) {
      const Candidate c{f, w + h, static_cast<int>(host.Get(f, prop::kType).AsInt())};
      queue.insert(
          std::upper_bound(queue.begin(), queue.end(), c,
                           [](const Candidate& a, const Candidate& b) { return a.size < b.size; }),
          c);
      last_top = cy;
    }
  }
  if (queue.empty()) return 0;
  if (queue.size() == 1) return queue.front().feq;
  const bool all_sheets_or_tabs = std::all_of(queue.begin(), queue.end(), [](const Candidate& c) {
    return c.type == kSheetType || c.type == kTabType;
  });
  if (!all_sheets_or_tabs) return queue.front().feq;
  const int wanted = py - last_top > kTabStripHeight ? kSheetType : kTabType;
  for (const Candidate& c : queue) {
    if (c.type == wanted) return c.feq;
  }
  // No candidate of the type the rule asks for: the highest field equate found, the last one
  // examined.
  int highest = 0;
  for (const Candidate& c : queue) highest = std::max(highest, c.feq);
  return highest;
}

uint8_t GrabHandles::SelectAtMouse(PointerPos pointer) {
  rt::Window& host = session_.host;
  const int64_t edit_x = session_.edit ? Geometry(*session_.edit, 0, prop::kXPos) : 0;
  const int64_t edit_y = session_.edit ? Geometry(*session_.edit, 0, prop::kYPos) : 0;
  const int64_t px = pointer.x + edit_x;
  const int64_t py = pointer.y + edit_y + host.Get(0, prop::kClientYOffset).AsInt();
  rt::SetTarget(host.ref());
  control_no_ = ChooseAt(px, py);
  if (control_no_ != 0) {
    session_.snapshots.Take(session_.procedure, session_.marker, control_no_);
    host.Set(0, prop::kPixels, 1);
  }
  old_x_ = pointer.x;
  old_y_ = pointer.y;
  mouse_is_down_ = 1;
  over_grab_handle_ = HandleAtMouse(pointer);  // the handles as they were before this press
  clicking_on_control_ = PointerOnSelection(pointer);
  if (over_grab_handle_ == 0 && clicking_on_control_ == 1) ShowCursor("Size");
  const rt::Handle handle = host.Get(0, prop::kWindowHandle).AsInt();
  const bool locked = rt::LockWindowUpdate(handle);
  RepaintHost();
  RemoveHandles();
  DrawHandles();
  if (locked) rt::LockWindowUpdate(0);
  return 0;
}

void GrabHandles::CursorFeedback(PointerPos pointer) {
  over_grab_handle_ = HandleAtMouse(pointer);
  ShowCursor(HandleCursorName(over_grab_handle_));
}

void GrabHandles::EndPress() {
  mouse_is_down_ = 0;
  clicking_on_control_ = 0;
  ShowCursor("Arrow");
  RepaintHost();
}

}  // namespace twiq
