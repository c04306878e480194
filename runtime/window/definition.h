// Window definitions: a window and its controls as declarative data, and BuildWindow, which
// opens a window from one.
//
// A definition is plain data, usually a static table or builder expression
// (definition_builder.h) in its owner's windows/ folder, written once and read by any number
// of threads. Nothing in it refers to program variables: controls name their variable ("use")
// and their list source by text, and the caller of BuildWindow supplies what the names stand
// for. So one definition serves every thread that opens the window, each with its own
// variables.
//
// Geometry is in dialog units of the window font (metrics.h). Every control's position is
// relative to the window's client area, children included (a child lies inside its parent's
// rectangle, it is not offset by it).
//
// Field equates: a control gives its own (`feq`) or gets the next free one in declaration
// order (depth first: a control, then what it holds): body controls from 1 upwards, menu-bar
// entries from -1 downwards, skipping every equate given explicitly anywhere in the window.
#ifndef RUNTIME_WINDOW_DEFINITION_H_
#define RUNTIME_WINDOW_DEFINITION_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/status/status.h"
#include "runtime/value/value.h"
#include "runtime/window/control_type.h"
#include "runtime/window/list_source.h"
#include "runtime/window/variable.h"
#include "runtime/window/window.h"

namespace rt {

// Width and height values with a meaning of their own; any other negative size is an error.
inline constexpr int64_t kDefaultSize = -1;  // sized by the control's kind and text
inline constexpr int64_t kFullSize = -2;     // to the window's right or bottom edge (Full)

struct FontDefinition {
  std::string face;  // "" leaves the face unset
  int size = 0;      // points; 0 leaves it unset (the window's metrics then assume 8)
  int style = 0;     // FontStyle value (weight plus style bits); 0 leaves it unset
};

// One property to set as it is: (code, index, value).
struct PropertySetting {
  int code = 0;
  int index = 0;
  Value value;
};

struct ControlDefinition {
  std::string label;  // "?OKBUTTON": unique in the window (ASCII case ignored); may be empty
  ControlType kind = ControlType::kString;
  std::string kind_name;  // when not empty, the kind by name ("ENTRY"), overriding `kind`
  int feq = 0;            // 0: assigned (see above)
  // The containing control, for flat tables: by label or by field equate (not both, and not
  // for a control declared in another's `children`). Empty / 0: the window.
  std::string parent;
  int parent_feq = 0;
  int64_t x = 0, y = 0;
  int64_t width = kDefaultSize, height = kDefaultSize;  // full and default do not mix
  std::string text;
  std::string use;  // name of the bound variable in VarBindings::vars
  // Rows: at most one of a choice string (choice_string.h), fixed texts, or a list source
  // named in VarBindings::lists. Only lists, drop lists, combos and spin boxes take rows.
  std::string choices;
  std::vector<std::string> from;
  std::string source;
  std::string format;   // list format (list_format.h)
  std::string picture;  // picture.h, e.g. "@s20"
  // Radio: the value it gives its option group. Check box: the values when set and cleared.
  std::optional<Value> value;
  std::optional<Value> false_value;
  std::string icon;
  std::string tip;
  std::string help;     // help identifier
  std::string message;  // status-bar message
  bool hidden = false;
  bool disabled = false;
  bool skip = false;  // passed over by the Tab key
  FontDefinition font;
  std::optional<int64_t> text_colour;  // colour values as in property_codes.h (prop::Rgb)
  std::optional<int64_t> background_colour;
  std::optional<int64_t> fill_colour;
  std::vector<int> alert_keys;  // keycodes, into AlertKey slots 1, 2, ...
  // Menu items: the standard frame action (a name of std_actions.h), or a separator line.
  std::string action;
  bool separator = false;
  std::vector<PropertySetting> properties;  // set last, after everything above
  std::vector<ControlDefinition> children;  // the controls this one holds, in order
};

struct WindowFlags {
  bool mdi_frame = false;
  bool mdi_child = false;
  bool modal = false;
  bool resizable = false;
  bool system_menu = false;
  bool max_box = false;
  bool min_box = false;
  bool status_bar = false;
};

struct WindowDefinition {
  std::string label;  // the window's label, e.g. "P1$MORPHWINDOW"; required
  std::string title;
  int64_t x = 0, y = 0, width = 0, height = 0;  // dialog units of `font`
  FontDefinition font;
  std::string icon;
  std::string help;
  WindowFlags flags;
  std::vector<int> alert_keys;  // keycodes, into the window's AlertKey slots 1, 2, ...
  // Menus (kind MENU, holding items and menus) and items (kind ITEM) of the menu bar.
  std::vector<ControlDefinition> menu_bar;
  std::vector<ControlDefinition> controls;
  std::vector<PropertySetting> properties;  // window properties, set last
};

// What the names in a definition stand for, supplied by the code that opens the window. The
// variables must outlive the window (variable.h); the sources are shared with it.
struct VarBindings {
  std::map<std::string, VarRef, std::less<>> vars;
  std::map<std::string, std::shared_ptr<ListSource>, std::less<>> lists;
};

// Checks `def` against `bindings` and, when it is sound, opens the window through OpenWindow
// for runtime thread `owner_thread`, adds its controls (parents before the controls they
// hold, otherwise in declaration order), sets their properties, binds variables and list
// sources, and DISPLAYs it. Nothing else: the window is not put on any thread's window stack.
//
// Menu-bar entries also get their MenuPosition (definition_codes.h), so a display shows them
// in declaration order whatever their equates.
//
// On bad input returns null with *status set (InvalidArgument, AlreadyExists or NotFound) and
// a message naming the window and the control, and leaves no window open. The definition is
// checked completely before the window opens. `status` may be null. Thread-safe.
std::shared_ptr<Window> BuildWindow(const WindowDefinition& def, int owner_thread,
                                    const VarBindings& bindings, Status* status);

// The checks of BuildWindow without opening anything (for tests of static definitions).
Status CheckWindowDefinition(const WindowDefinition& def, const VarBindings& bindings);

}  // namespace rt

#endif  // RUNTIME_WINDOW_DEFINITION_H_
