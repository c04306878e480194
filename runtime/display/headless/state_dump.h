// The state of every open window as JSON, for scripted checks and bug reports.
//
// Format (keys in this order; windows by reference, controls by field equate, properties by
// code then index):
//   {"focus": REF, "capture": HANDLE, "windows": [
//     {"ref": 1, "label": "...", "title": "...", "thread": 1, "stack": [..] position,
//      "focus": FEQ, "pixels": {"x":..,"y":..,"width":..,"height":..},
//      "units": {...same in dialog units...},
//      "properties": {"Text": "...", "AlertKey[3]": 1604, "0x7ABC": 5, ...},
//      "controls": [{"feq": 11, "label": "?TESTENTRY", "type": "ENTRY", "parent": 0,
//                    "visible": true, "contents": "...", "pixels": {...}, "units": {...},
//                    "properties": {...}}]}]}
// Property names are those of property_codes.h; unnamed codes are written as hex "0x7ABC",
// indexed ones with "[index]". Text values are JSON strings, numbers JSON numbers.
#ifndef RUNTIME_DISPLAY_HEADLESS_STATE_DUMP_H_
#define RUNTIME_DISPLAY_HEADLESS_STATE_DUMP_H_

#include <string>

#include "runtime/window/window.h"

namespace rt {

// Every open window.
std::string DumpWindowsJson();
// One window ("null" when it is not open).
std::string DumpWindowJson(WindowRef ref);

}  // namespace rt

#endif  // RUNTIME_DISPLAY_HEADLESS_STATE_DUMP_H_
