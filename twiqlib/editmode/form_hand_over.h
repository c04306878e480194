// The hand-over from edit mode's pop-up menu to the library's three form windows: the
// property editor (UpdateScreenControlProperties), the processed-controls browser
// (BrowseFormFields) and the control list with the tab order (AllScreenFields).
//
// Each runs modally on the host thread and reports through ThreadResponse (thread_cells.h):
// 1 completed, 2 cancelled. Edit mode leaves ThreadRequest at 0 before calling them and, for
// the editor, applies the record left in the WIN buffer when the response is 1.
//
// Until a window is built, its function opens nothing and answers "cancelled", so edit mode
// goes on editing with no effect.
//
// Thread safety: host thread only.
#ifndef TWIQLIB_EDITMODE_FORM_HAND_OVER_H_
#define TWIQLIB_EDITMODE_FORM_HAND_OVER_H_

#include <string_view>

#include "runtime/window/window.h"
#include "twiqlib/editmode/inventory.h"

namespace twiq {

// The property editor on control `feq` (0: the window) of `host`, labelled `label`, for
// variant (`procedure`, `marker`). The host's Pixels is 0 during the call.
void OpenPropertyEditor(int feq, rt::Window& host, std::string_view label, std::string_view marker,
                        std::string_view procedure);

// The browser of the records stored for (`procedure`, `marker`).
void OpenProcessedControls(rt::Window& host, std::string_view marker, std::string_view procedure);

// The control list of `inventory`, which it may reorder and whose descriptions it may update.
void OpenControlList(ControlInventory& inventory, rt::Window& host, std::string_view marker,
                     std::string_view procedure);

}  // namespace twiq

#endif  // TWIQLIB_EDITMODE_FORM_HAND_OVER_H_
