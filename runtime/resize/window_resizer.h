// The window-resize service: keeps the controls of a resizable window in place relative to
// the window's edges while the user changes its size.
//
//   rt::WindowResizer resizer;                       // lives as long as the window's loop
//   rt::Open(w->ref());
//   resizer.Start(w->ref(), rt::ResizeStrategy::kKeepPlace,
//                 {.minimum_is_opening_size = true});
//   while (rt::Accept(w->ref())) { ... }             // sized (231h): already rearranged
//
// Start remembers, per control and per axis, how the control sits in its container: the
// window's client area, the control's parent (sheet, tab, group, option box, panel), or the
// smallest group, option box or panel of the same parent that frames it on the screen (what
// is drawn inside a group moves with the group, whether or not it is the group's child):
// - stretched: it covers at least half of the container and crosses its middle line: both
//   margins are kept, so it grows and shrinks with the container;
// - far: it starts beyond the middle line: its distance to the right (bottom) edge is kept;
// - centred (horizontally only): it crosses the middle line but is narrower than half: it
//   stays centred. Vertically such a control keeps to the top, with what is above it: forms
//   read from the top;
// - near: otherwise: its distance to the left (top) edge is kept.
// On every size change (the sized event, through an event hook, on the window's owner thread
// before the program sees the event) each control is moved by what its container's
// corresponding edge, middle or size did, parents before children, all in one window update.
// A control the program has moved or resized since is moved from where the program put it;
// a control created after Start stays where the program puts it.
//
// Start also sets the window's resizing limits (MinimumWidth ... MaximumHeight) from the
// window's size at that moment when asked to. Stop (or destruction) unhooks the service and
// clears the limits it set; closing the window stops it too.
//
// A Full control without an explicit size already follows the window's far edges and is left
// alone.
//
// Thread safety: Start, Stop and Rearrange run on the window's owner thread (a runtime
// thread). The service's hook holds no reference to the WindowResizer object, so destroying
// or moving it anywhere is safe; a resizer destroyed on another thread stops arranging at once
// and its hook is dropped when the window closes.
#ifndef RUNTIME_RESIZE_WINDOW_RESIZER_H_
#define RUNTIME_RESIZE_WINDOW_RESIZER_H_

#include <memory>

#include "runtime/status/status.h"
#include "runtime/window/window.h"

namespace rt {

enum class ResizeStrategy {
  kFixed = 0,      // controls stay where they are; only the limits apply
  kKeepPlace = 1,  // controls keep their place relative to the edges (above)
};

struct ResizeLimits {
  bool minimum_is_opening_size = false;  // the user cannot make it smaller than at Start
  bool maximum_is_opening_size = false;  // nor larger
};

class WindowResizer {
 public:
  WindowResizer() = default;
  ~WindowResizer();
  WindowResizer(WindowResizer&&) noexcept = default;
  WindowResizer& operator=(WindowResizer&& other) noexcept;
  WindowResizer(const WindowResizer&) = delete;
  WindowResizer& operator=(const WindowResizer&) = delete;

  // Starts the service on `window` (open, owned by the calling runtime thread). A running
  // service is stopped first. Fails for an unknown or closed window, another thread's window,
  // or a strategy outside the enumeration.
  Status Start(WindowRef window, ResizeStrategy strategy, ResizeLimits limits = {});
  // Stops the service and clears the limits it set; no-op when not running.
  void Stop();
  // Started, not stopped, and the window still open.
  bool running() const;

  // Rearranges the controls for the window's current size. The sized event does this by
  // itself; a program calls it after changing the window's size in code.
  void Rearrange();

 private:
  struct Arrangement;
  std::shared_ptr<Arrangement> arrangement_;
};

}  // namespace rt

#endif  // RUNTIME_RESIZE_WINDOW_RESIZER_H_
