#include "twiqdemo/form_window.h"

#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/program/program.h"
#include "runtime/window/property_codes.h"

namespace twiqdemo {

void FormWindow::HandleCommonEvent() {
  switch (rt::Event()) {
    case rt::event::kOpenWindow:
      if (!opened_) {
        opened_ = true;
        window_.Select(first_field_);
      }
      break;
    case rt::event::kGainFocus:
      refresh_pending_ = true;
      Refresh();
      break;
    case rt::event::kSized:
      rt::Post(kRefreshEvent);
      break;
    case kRefreshEvent:
      refresh_pending_ = true;
      Refresh();
      break;
    case rt::event::kRejected: {
      rt::Beep(150, 16);
      const int field = rt::Field();
      window_.Display(field);
      window_.Select(field);
      break;
    }
    default:
      break;
  }
}

void FormWindow::Refresh() {
  if (window_.Get(0, rt::prop::kAcceptAll).AsInt() != 0) return;
  window_.Display();
  refresh_pending_ = false;
}

}  // namespace twiqdemo
