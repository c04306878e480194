// The event handling that every window of the demonstration program shares.
//
// A resize (231h) posts the private refresh event 3FFh to the window's own thread; gaining the
// focus (206h) and 3FFh refresh the window, unless it is in accept-all mode; a rejected field
// (1Ah) beeps and is redisplayed and selected again; the first open-window event (203h)
// selects the window's first field.
#ifndef TWIQDEMO_FORM_WINDOW_H_
#define TWIQDEMO_FORM_WINDOW_H_

#include "runtime/window/window.h"

namespace twiqdemo {

inline constexpr int kRefreshEvent = 0x3FF;

class FormWindow {
 public:
  // `first_field`: the control selected when the window opens.
  FormWindow(rt::Window& window, int first_field) : window_(window), first_field_(first_field) {}

  // Handles the current event (rt::Event(), rt::Field()) as every form window does.
  void HandleCommonEvent();

 private:
  void Refresh();

  rt::Window& window_;
  const int first_field_;
  bool opened_ = false;
  bool refresh_pending_ = false;
};

}  // namespace twiqdemo

#endif  // TWIQDEMO_FORM_WINDOW_H_
