// What one edit-mode call works on: the host window, the edit-mode window, the variant being
// edited, the control inventory and the undo snapshots. Created when TWIQ:PROCESSWINDOW is
// entered and gone when it returns; nothing of it survives the call.
//
// Thread safety: belongs to the edit-mode thread (the host window's owner).
#ifndef TWIQLIB_EDITMODE_EDIT_SESSION_H_
#define TWIQLIB_EDITMODE_EDIT_SESSION_H_

#include <memory>
#include <string>

#include "runtime/window/window.h"
#include "twiqlib/editmode/inventory.h"
#include "twiqlib/editmode/saving.h"

namespace twiq {

struct EditSession {
  EditSession(rt::Window& host_window, std::string variant_marker, std::string host_procedure)
      : host(host_window),
        marker(std::move(variant_marker)),
        procedure(std::move(host_procedure)) {}

  rt::Window& host;
  // P1$MORPHWINDOW; null until it is built. Its XPos and YPos relate its mouse coordinates to
  // the host's.
  std::shared_ptr<rt::Window> edit;
  std::string marker;
  std::string procedure;
  ControlInventory inventory;
  Snapshots snapshots;
};

}  // namespace twiq

#endif  // TWIQLIB_EDITMODE_EDIT_SESSION_H_
