#include "runtime/event/event_codes.h"

#include <cstdio>
#include <string_view>
#include <utility>

namespace rt::event {

std::string EventName(int code) {
  static constexpr std::pair<int, std::string_view> kNames[] = {
      {kAccepted, "Accepted"},
      {kNewSelection, "NewSelection"},
      {kScrollUp, "ScrollUp"},
      {kScrollDown, "ScrollDown"},
      {kPageUp, "PageUp"},
      {kPageDown, "PageDown"},
      {kScrollTop, "ScrollTop"},
      {kScrollBottom, "ScrollBottom"},
      {kAlertKey, "AlertKey"},
      {kScrollDrag, "ScrollDrag"},
      {kScrollTrack, "ScrollTrack"},
      {kRejected, "Rejected"},
      {kSelected, "Selected"},
      {kDeselected, "Deselected"},
      {kCloseWindow, "CloseWindow"},
      {kCloseDown, "CloseDown"},
      {kOpenWindow, "OpenWindow"},
      {kLoseFocus, "LoseFocus"},
      {kGainFocus, "GainFocus"},
      {kTimer, "Timer"},
      {kResumed, "Resumed"},
      {kCompleted, "Completed"},
      {kSized, "Sized"},
  };
  for (const auto& [c, name] : kNames) {
    if (c == code) return std::string(name);
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(code));
  return buf;
}

}  // namespace rt::event
