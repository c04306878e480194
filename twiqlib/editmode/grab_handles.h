// GrabHandles: the selection of edit mode and the eight grab handles that frame it.
//
// Exactly one object is selected: a control of the host window or the window itself
// (control_no 0). The handles are region controls 10001..10008 created on the host window,
// numbered clockwise from the top-left corner, each hsize pixels square and lying inside the
// selected rectangle flush with its edges. A host window whose own controls use these field
// equates cannot be edited.
//
// Pointer positions passed in are what MOUSEX()/MOUSEY() report with the edit-mode window as
// target: pixels relative to the edit-mode window, which holds the mouse capture. Everything
// runs in pixels: the host's and the edit-mode window's Pixels are 1 while edit mode runs.
//
// Moving and resizing (move_resize.cpp) are operations of the same object: a drag is the sum
// of the steps between consecutive pointer events, each applied to the geometry the runtime
// reports now; no limits are applied (sizes may become zero or negative).
//
// Thread safety: belongs to the edit-mode thread; the session must outlive it.
#ifndef TWIQLIB_EDITMODE_GRAB_HANDLES_H_
#define TWIQLIB_EDITMODE_GRAB_HANDLES_H_

#include <array>
#include <cstdint>
#include <string_view>

#include "twiqlib/bindings/export.h"
#include "twiqlib/editmode/edit_session.h"

namespace twiq {

inline constexpr int kFirstHandleFeq = 10001;
inline constexpr int kHandleCount = 8;

// A pointer position relative to the edit-mode window, in pixels.
struct PointerPos {
  int64_t x = 0;
  int64_t y = 0;
};

// The named cursor shown over handle `handle` (1..8), "Arrow" for any other number.
TWIQ_INTERNAL_API std::string_view HandleCursorName(int handle);

class TWIQ_INTERNAL_API GrabHandles {
 public:
  explicit GrabHandles(EditSession& session) : session_(session) {}
  GrabHandles(const GrabHandles&) = delete;
  GrabHandles& operator=(const GrabHandles&) = delete;

  // Selects `feq` (0: the window) without a snapshot, sets the handles' colours, size and
  // field equates, DeferredMoves and Pixels 1 on the host. Called once, before DrawHandles.
  void InitHandles(int feq);
  // Places the eight handles around the selection, creating those that do not exist.
  void DrawHandles();
  // Destroys the eight handle controls.
  void RemoveHandles();
  // Asks for a repaint of the whole host window.
  void RepaintHost();

  // The reaction to a left press at `pointer`: the hit test (visible controls only, edges
  // included, smallest width plus height wins, the sheet-and-tab rule for tab strips), the
  // undo snapshot of a newly selected control, the start of a drag and the handles rebuilt
  // while the host's painting is held back. Returns 0.
  uint8_t SelectAtMouse(PointerPos pointer);
  // The handle (1..8) whose stored square holds `pointer` (edges included), 0 for none.
  int HandleAtMouse(PointerPos pointer) const;
  // 1 while the button is down and `pointer` lies strictly inside the selected rectangle.
  uint8_t PointerOnSelection(PointerPos pointer) const;
  // `pointer` in the host window's client coordinates.
  int64_t MouseXInHost(PointerPos pointer) const;
  int64_t MouseYInHost(PointerPos pointer) const;
  // With the button up: notes the handle under `pointer` and shows its cursor.
  void CursorFeedback(PointerPos pointer);

  // Moves the selection by (dx, dy) when `handle` is 0 (otherwise nothing); the handles follow
  // and the host is repainted.
  void MoveSelection(int handle, int64_t dx, int64_t dy);
  // Resizes the selection from handle 1..8 by (dx, dy), keeping the opposite edge in place
  // (other numbers: nothing), and moves the handles.
  void ResizeSelection(int handle, int64_t dx, int64_t dy);
  // One pointer movement: the delta from the previous event, then cursor feedback (button
  // up), a move (pressed on the body), a resize (pressed on a handle) or nothing.
  void DragStep(PointerPos pointer);
  // The release of the button, without the save: clears the press, shows "Arrow" and
  // repaints the host.
  void EndPress();

  int control_no() const { return control_no_; }
  bool mouse_is_down() const { return mouse_is_down_ != 0; }
  bool clicking_on_control() const { return clicking_on_control_ != 0; }
  int over_grab_handle() const { return over_grab_handle_; }
  int64_t handle_x(int k) const { return hx_[k - 1]; }
  int64_t handle_y(int k) const { return hy_[k - 1]; }
  int handle_feq(int k) const { return hno_[k - 1]; }
  int hsize() const { return hsize_; }
  void set_control_range(int first, int last) {
    first_control_ = first;
    last_control_ = last;
  }

 private:
  struct SelectedRect {
    int64_t x, y, w, h;
  };
  // The selected rectangle as the handles frame it: the control's, or (0, 0, width, height)
  // of the window's client area.
  SelectedRect HandleFrame() const;
  int ChooseAt(int64_t px, int64_t py) const;

  EditSession& session_;
  int control_no_ = 0;
  int64_t hborder_colour_ = 0;
  int64_t hcontents_colour_ = 255;
  int hsize_ = 6;
  std::array<int, kHandleCount> hno_{};
  std::array<int64_t, kHandleCount> hx_{};
  std::array<int64_t, kHandleCount> hy_{};
  int64_t old_x_ = 0, old_y_ = 0;
  int64_t new_x_ = 0, new_y_ = 0;
  int first_control_ = 0;
  int last_control_ = 0;
  uint8_t mouse_is_down_ = 0;
  uint8_t clicking_on_control_ = 0;
  int over_grab_handle_ = 0;
};

}  // namespace twiq

#endif  // TWIQLIB_EDITMODE_GRAB_HANDLES_H_
