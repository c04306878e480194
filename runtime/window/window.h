// rt::Window: the model of one open window and its controls. The model is the truth: displays
// only mirror it, so everything a program does to a window is observable without pixels.
//
// A window belongs to one runtime thread (its owner), which opens it, runs its accept loop and
// closes it. Other threads (a display, a test robot) may read it and feed input; every member
// function is therefore thread-safe (one mutex per window). Observers are told about changes
// outside the lock.
//
// Controls are addressed by field equate (0 is the window itself, menu items are negative).
// Every attribute is a property with a numeric code (property_codes.h) and an optional index;
// values are rt::Value, converted between text and number on demand. Geometry is kept in
// pixels; the window's Pixels property selects the unit of XPos, YPos, Width and Height
// (0 dialog units from the window font through metrics.h, 1 pixels).
#ifndef RUNTIME_WINDOW_WINDOW_H_
#define RUNTIME_WINDOW_WINDOW_H_

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "runtime/status/status.h"
#include "runtime/value/value.h"
#include "runtime/window/control_type.h"
#include "runtime/window/list_source.h"
#include "runtime/window/metrics.h"
#include "runtime/window/variable.h"

namespace rt {

// A window reference: identifies an open window in this process. 0 is no window.
using WindowRef = int64_t;

// A rectangle in pixels, relative to the window's client area (for the window itself: its
// position on the screen or in its frame, and its client size).
struct Rect {
  int64_t x = 0, y = 0, width = 0, height = 0;
  bool Contains(int64_t px, int64_t py) const {  // edges included
    return px >= x && py >= y && px <= x + width && py <= y + height;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// What a control is made from; CREATE and window definitions fill it.
struct ControlSpec {
  int feq = 0;
  ControlType type = ControlType::kString;
  std::string label;  // unique in the window, e.g. "?STRING1"; may be empty for CREATE
  int parent = 0;     // field equate of the containing control, 0 for the window
  VarRef var;         // bound variable, if any
};

// A copy of one control's state, for displays and state dumps.
struct ControlState {
  int feq = 0;
  ControlType type = ControlType::kString;
  std::string label;
  int parent = 0;
  Rect rect;  // effective geometry in pixels
  bool visible = false;
  // Every stored property, by (code, index).
  std::map<std::pair<int, int>, Value> properties;
};

// A copy of a window's state.
struct WindowState {
  WindowRef ref = 0;
  int owner_thread = 0;
  std::string label;
  Rect rect;
  FontMetrics metrics;
  int focus = 0;
  std::map<std::pair<int, int>, Value> properties;
  std::vector<ControlState> controls;  // in field-equate order
  std::vector<int> tab_chain;
};

// Told about window changes. Implementations must not block; they run on the thread that made
// the change, outside the window's lock, and may read the window (Snapshot, TakeChanges).
class WindowObserver {
 public:
  virtual ~WindowObserver() = default;
  virtual void WindowOpened(WindowRef ref) = 0;
  // A window that was unchanged (or whose changes were taken) has changed. Not called while the
  // window's updates are locked; unlocking announces the held changes once.
  virtual void WindowChanged(WindowRef ref) = 0;
  virtual void WindowClosed(WindowRef ref) = 0;
  // The process's input state changed: which window has the focus, which windows are on their
  // threads' stacks (open and shown), the mouse capture, or the pointer's cursor. May run on
  // any thread, with the runtime's event lock held: it must not call back into the runtime,
  // only note or schedule the work (a display re-reads that state on its own thread).
  virtual void InputStateChanged() {}
};

class Window : public std::enable_shared_from_this<Window> {
 public:
  // Use Open() (window_registry.h), which registers the window and gives it its reference.
  Window(WindowRef ref, int owner_thread, std::string label);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  WindowRef ref() const { return ref_; }
  int owner_thread() const { return owner_thread_; }
  const std::string& label() const { return label_; }
  bool closed() const;

  // Controls. AddControl fails on a duplicate field equate or label, an unknown parent, a
  // field equate of 0, or a closed window. Create (CREATE) picks the next free field equate
  // above LastField() when control.feq is 0 and returns it (0 on failure, with *status set).
  Status AddControl(const ControlSpec& control);
  int Create(ControlSpec control, Status* status = nullptr);
  // Removes a control and every control inside it (DESTROY).
  Status Destroy(int feq);
  bool HasControl(int feq) const;
  // Field equates of every control, ascending.
  std::vector<int> Fields() const;
  // Lowest and highest positive field equate; 0 when there is none (FIRSTFIELD/LASTFIELD).
  int FirstField() const;
  int LastField() const;
  // The label of a control ("" when there is none) (FIELDNAME), and the reverse (0: none).
  std::string FieldName(int feq) const;
  int FieldByLabel(std::string_view label) const;
  ControlType TypeOf(int feq) const;
  int ParentOf(int feq) const;
  void SetListSource(int feq, std::shared_ptr<ListSource> source);
  std::shared_ptr<ListSource> GetListSource(int feq) const;

  // Properties of control `feq` (0: the window). A property the control lacks reads as empty
  // text or 0 (a colour as prop::kNoColour); a write on a closed window or an unknown control
  // fails.
  Value Get(int feq, int code, int index = 0) const;
  Status Set(int feq, int code, const Value& value, int index = 0);

  // Effective geometry in pixels, whatever the Pixels setting (default sizes and Full resolved).
  Rect PixelRect(int feq) const;
  // Sets position and size in pixels, whatever the Pixels setting, in one change: observers
  // never see the control half moved. A width or height that differs from the effective one
  // becomes explicit; one that equals a default size stays default.
  Status SetPixelRect(int feq, const Rect& rect);
  // The window's current unit conversions (honours Pixels): pixels to the unit and back.
  int64_t PixelsToUnitsX(int64_t px) const;
  int64_t PixelsToUnitsY(int64_t px) const;
  FontMetrics metrics() const;

  // Focus (SELECT) and the tab chain (Follows moves a control in it).
  Status Select(int feq);
  int focus() const;
  std::vector<int> TabChain() const;

  // HIDE / UNHIDE / ENABLE / DISABLE; feq 0 is not allowed for Hide.
  Status Hide(int feq) { return Set(feq, kHiddenCode, 1); }
  Status Unhide(int feq) { return Set(feq, kHiddenCode, 0); }
  Status Enable(int feq) { return Set(feq, kDisabledCode, 0); }
  Status Disable(int feq) { return Set(feq, kDisabledCode, 1); }
  // Derived: not hidden, window open, every parent visible, on the sheet's selected tab.
  bool IsVisible(int feq) const;

  // DISPLAY: bound variables to controls (feq 0: every control). UPDATE: the reverse.
  void Display(int feq = 0);
  void Update(int feq = 0);
  // The contents a user edits (entry text, check state, option value, ...). Input from a
  // display lands here; the owner thread's UPDATE copies it to the variable.
  Value Contents(int feq) const;
  Status SetContents(int feq, const Value& v);
  // CHOICE: the selected row of a list (1-based, 0 none), the chosen radio of an option group
  // (its position among the group's radios), or the selected tab of a sheet.
  int Choice(int feq) const;

  // Window updates (LockWindowUpdate): while locked, observers hear nothing; Unlock announces
  // the held changes once. Nesting is counted.
  void LockUpdates();
  void UnlockUpdates();
  bool updates_locked() const;
  // Asks for a repaint (InvalidateRect): announces a change even without a model change.
  void Invalidate();
  // For displays: the set of field equates changed since the last call (0: the window itself
  // or everything); clears the pending announcement.
  std::set<int> TakeChanges();
  // Number of times a change was announced to observers (for paint counting in tests).
  int64_t announcements() const;

  WindowState Snapshot() const;

  // Marks the window closed: later writes fail, reads give empty values. Called by Close().
  void MarkClosed();

  void set_observer(WindowObserver* observer);

 private:
  struct ControlData;
  static constexpr int kHiddenCode = 0x7C65;
  static constexpr int kDisabledCode = 0x7C5F;

  ControlData* Find(int feq);
  const ControlData* Find(int feq) const;
  Value GetLocked(int feq, int code, int index) const;
  Status SetLocked(int feq, int code, const Value& value, int index);
  Rect PixelRectLocked(const ControlData& c) const;
  bool VisibleLocked(int feq) const;
  FontMetrics MetricsLocked() const;
  bool PixelsMode() const;
  void DisplayLocked(ControlData& c);
  void UpdateLocked(ControlData& c);
  // Records a change; returns true when observers must be told (after unlocking).
  bool MarkChanged(int feq);
  void Announce(bool needed);

  const WindowRef ref_;
  const int owner_thread_;
  const std::string label_;

  mutable std::mutex mu_;
  bool closed_ = false;
  std::unique_ptr<ControlData> window_;  // feq 0: the window's own properties and geometry
  std::map<int, std::unique_ptr<ControlData>> controls_;
  std::vector<int> tab_chain_;
  int focus_ = 0;
  int lock_count_ = 0;
  bool announcement_pending_ = false;
  int64_t announcements_ = 0;
  std::set<int> changed_;
  WindowObserver* observer_ = nullptr;
};

}  // namespace rt

#endif  // RUNTIME_WINDOW_WINDOW_H_
