// Moving and resizing the selection of GrabHandles (grab_handles.h).
#include "runtime/window/property_codes.h"
#include "runtime/window/target.h"
#include "twiqlib/editmode/grab_handles.h"

namespace twiq {

namespace prop = rt::prop;

namespace {

// Writes `code` of `feq` as its current value plus `delta`.
void Add(rt::Window& w, int feq, int code, int64_t delta) {
  w.Set(feq, code, w.Get(feq, code).AsInt() + delta);
}

}  // namespace

void GrabHandles::MoveSelection(int handle, int64_t dx, int64_t dy) {
  if (handle != 0) return;
  if (session_.edit) rt::SetTarget(session_.edit->ref());
  rt::Window& host = session_.host;
  const int64_t x = host.Get(control_no_, prop::kXPos).AsInt();
  const int64_t y = host.Get(control_no_, prop::kYPos).AsInt();
  host.Set(control_no_, prop::kXPos, x + dx);
  host.Set(control_no_, prop::kYPos, y + dy);
  // The handles keep their controls and take their new places: the same handles as removing
  // and creating them again would give, without rebuilding eight controls at every step of a
  // drag.
  DrawHandles();
  RepaintHost();
}

void GrabHandles::ResizeSelection(int handle, int64_t dx, int64_t dy) {
  rt::Window& w = session_.host;
  const int f = control_no_;
  // The edge opposite the handle stays: a left or top handle moves its edge and changes the
  // size by the opposite amount; a right or bottom handle changes the size only.
  switch (handle) {
    case 1:
      Add(w, f, prop::kHeight, -dy);
      Add(w, f, prop::kYPos, dy);
      Add(w, f, prop::kXPos, dx);
      Add(w, f, prop::kWidth, -dx);
      break;
    case 2:
      Add(w, f, prop::kHeight, -dy);
      Add(w, f, prop::kYPos, dy);
      break;
    case 3:
      Add(w, f, prop::kHeight, -dy);
      Add(w, f, prop::kYPos, dy);
      Add(w, f, prop::kWidth, dx);
      break;
    case 4:
      Add(w, f, prop::kWidth, dx);
      break;
    case 5:
      Add(w, f, prop::kWidth, dx);
      Add(w, f, prop::kHeight, dy);
      break;
    case 6:
      Add(w, f, prop::kHeight, dy);
      break;
    case 7:
      Add(w, f, prop::kXPos, dx);
      Add(w, f, prop::kWidth, -dx);
      Add(w, f, prop::kHeight, dy);
      break;
    case 8:
      Add(w, f, prop::kXPos, dx);
      Add(w, f, prop::kWidth, -dx);
      break;
    default:
      return;
  }
  DrawHandles();
}

void GrabHandles::DragStep(PointerPos pointer) {
  new_x_ = pointer.x;
  new_y_ = pointer.y;
  const int64_t dx = new_x_ - old_x_;
  const int64_t dy = new_y_ - old_y_;
  old_x_ = new_x_;
  old_y_ = new_y_;
  if (mouse_is_down_ == 0) {
    CursorFeedback(pointer);
    return;
  }
  if (dx == 0 && dy == 0) return;
  if (over_grab_handle_ == 0) {
    if (clicking_on_control_ == 1) MoveSelection(0, dx, dy);
  } else {
    ResizeSelection(over_grab_handle_, dx, dy);
  }
}

}  // namespace twiq
