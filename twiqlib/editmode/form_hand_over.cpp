#include "twiqlib/editmode/form_hand_over.h"

#include "twiqlib/editmode/thread_cells.h"

namespace twiq {

void OpenPropertyEditor(int /*feq*/, rt::Window& /*host*/, std::string_view /*label*/,
                        std::string_view /*marker*/, std::string_view /*procedure*/) {
  ThreadResponse() = kResponseCancelled;
}

void OpenProcessedControls(rt::Window& /*host*/, std::string_view /*marker*/,
                           std::string_view /*procedure*/) {
  ThreadResponse() = kResponseCancelled;
}

void OpenControlList(ControlInventory& /*inventory*/, rt::Window& /*host*/,
                     std::string_view /*marker*/, std::string_view /*procedure*/) {
  ThreadResponse() = kResponseCancelled;
}

}  // namespace twiq
