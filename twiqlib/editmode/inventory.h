// The control inventory of a host window (WNCTL): one entry for the window itself and one for
// every field equate from 1 to the window's last, built when edit mode starts.
//
// Taking the inventory also makes sure that every control has a settings record for the
// variant being edited: a control without one gets a record captured from its current state.
// Edit mode finds a control's label through it; the control list window shows and reorders
// it.
//
// Thread safety: an inventory belongs to the edit-mode call (one thread) that built it.
#ifndef TWIQLIB_EDITMODE_INVENTORY_H_
#define TWIQLIB_EDITMODE_INVENTORY_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/window/window.h"
#include "twiqlib/bindings/export.h"
#include "twiqlib/store/fixed_string.h"

namespace twiq {

struct InventoryEntry {
  FixedString<60> label;        // FIELDNAME, "WINDOW" for the window
  FixedString<20> type_text;    // type name; "WINDOW" for the window; blank when unnamed
  FixedString<80> screen_text;  // the control's text for the types that show one; the title
  FixedString<20> state_text;   // "Hidden" or "Visible"
  FixedString<60> description;  // the record's description, cut to 60 characters
  int32_t feq = 0;              // 0 for the window
  int32_t type = 0;             // type code, 0 for the window
  int32_t tab_order = 0;        // the record's order
  int32_t uid = 0;              // the record's UID
};

// In the order the entries were added: the window first, then ascending field equates.
using ControlInventory = std::vector<InventoryEntry>;

// Empties `inventory` and fills it from `window` for variant (`procedure`, `marker`), adding a
// record (AddWithNewUid, which reports its own failures) for every entry that has none. An
// entry whose record could not be added is still listed, with what the WIN buffer then held.
// The window's Pixels property is left at 0 when a record was captured.
// REQUIRES: LocateSettingsFile has named the settings file; LastField() <= 32767.
TWIQ_INTERNAL_API void BuildControlInventory(ControlInventory& inventory, rt::Window& window,
                                             std::string_view marker, std::string_view procedure);

// The entry of field equate `feq`, or null when the inventory has none (the pointer lives as
// long as the inventory is not changed).
TWIQ_INTERNAL_API const InventoryEntry* FindInventoryEntry(const ControlInventory& inventory,
                                                           int feq);

// Whether the inventory shows the text of controls of type code `type`.
bool ShowsText(int32_t type);

}  // namespace twiq

#endif  // TWIQLIB_EDITMODE_INVENTORY_H_
