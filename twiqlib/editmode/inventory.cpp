#include "twiqlib/editmode/inventory.h"

#include <algorithm>

#include "runtime/keyfile/errors.h"
#include "runtime/window/property_codes.h"
#include "twiqlib/engine/capture.h"
#include "twiqlib/store/add_with_new_uid.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiq {

namespace prop = rt::prop;

bool ShowsText(int32_t type) {
  switch (type) {
    case 1:   // STRING
    case 2:   // STRING through a picture
    case 8:   // ENTRY
    case 9:   // BUTTON
    case 10:  // PROMPT
    case 11:  // OPTION
    case 12:  // CHECK
    case 13:  // GROUP
    case 21:  // RADIO
    case 38:  // TAB
      return true;
    default:
      return false;
  }
}

namespace {

InventoryEntry DescribeControl(const rt::Window& window, int feq) {
  InventoryEntry e;
  e.feq = feq;
  if (feq == 0) {
    e.label = kWindowLabel;
    e.type_text = kWindowLabel;
    e.screen_text = window.Get(0, prop::kText).AsText();
    e.state_text = "Visible";
    return e;
  }
  e.label = window.FieldName(feq);
  e.type = static_cast<int32_t>(window.Get(feq, prop::kType).AsInt());
  e.state_text = window.Get(feq, prop::kHidden).AsInt() != 0 ? "Hidden" : "Visible";
  e.type_text = ControlTypeName(e.type);
  if (ShowsText(e.type)) e.screen_text = window.Get(feq, prop::kText).AsText();
  return e;
}

}  // namespace

void BuildControlInventory(ControlInventory& inventory, rt::Window& window, std::string_view marker,
                           std::string_view procedure) {
  ScopedSettingsFile file;
  StoreThreadContext& store = Store();
  WinRecord& win = store.win;
  inventory.clear();
  // The counter is 16 bits wide: windows above 32767 field equates are not supported.
  const int last = std::min(window.LastField(), 32767);
  inventory.reserve(static_cast<size_t>(last) + 1);
  for (int i = 0; i <= last; ++i) {
    InventoryEntry e = DescribeControl(window, i);
    ClearRecord(win);
    win.unique_marker = marker;
    win.procedure_name = procedure;
    win.control_label = e.label.Clipped();
    if (store.win_file.Get(kKeyProcedureMarkerLabel) != rt::keyfile::kOk) {
      ClearRecord(win);  // a miss must not leave anything of another record behind
      win.unique_marker = marker;
      win.procedure_name = procedure;
      win.control_label = e.label.Clipped();
      win.description = DescriptionForLabel(e.label.Clipped());
      win.feq = e.feq;
      win.order = e.feq;
      CaptureControl(window, e.feq);
      AddWithNewUid();
    }
    e.description = win.description.Clipped().substr(0, 60);
    e.tab_order = win.order;
    e.uid = static_cast<int32_t>(static_cast<uint32_t>(win.uid));
    inventory.push_back(e);
  }
}

const InventoryEntry* FindInventoryEntry(const ControlInventory& inventory, int feq) {
  for (const InventoryEntry& e : inventory) {
    if (e.feq == feq) return &e;
  }
  return nullptr;
}

}  // namespace twiq
