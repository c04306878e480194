// Control type codes, as the Type property (7C01h) reports them and CREATE takes them.
#ifndef RUNTIME_WINDOW_CONTROL_TYPE_H_
#define RUNTIME_WINDOW_CONTROL_TYPE_H_

#include <optional>
#include <string_view>

namespace rt {

enum class ControlType : int {
  kWindow = 0,  // the window itself (field equate 0)
  kString = 1,
  kStringPicture = 2,  // a string shown through a picture
  kImage = 3,
  kRegion = 4,
  kLine = 5,
  kBox = 6,
  kEllipse = 7,
  kEntry = 8,
  kButton = 9,
  kPrompt = 10,
  kOption = 11,  // option group: holds radios, takes the chosen radio's value
  kCheck = 12,
  kGroup = 13,
  kList = 14,
  kCombo = 15,
  kSpin = 16,
  kText = 17,  // multi-line text
  kCustom = 18,
  kMenu = 19,
  kItem = 20,
  kRadio = 21,
  kDropList = 33,   // list that drops down
  kDropCombo = 34,  // combo that drops down
  kSheet = 37,      // holds tabs
  kTab = 38,
  kPanel = 39,  // bevelled panel, takes a gradient
  kRtfText = 40,
  kToolbar = 128,
};

// The kind name used by window definitions and state dumps ("ENTRY", "DROPLIST", ...).
std::string_view ControlTypeName(ControlType type);

// The type of a kind name (case-insensitive); nullopt for an unknown name.
std::optional<ControlType> ControlTypeFromName(std::string_view name);

// A known type code; nullopt for any other number.
std::optional<ControlType> ControlTypeFromCode(int code);

// Types that hold other controls (their children are positioned inside them).
bool IsContainer(ControlType type);
// Types whose contents the user edits as text: entries, texts, spin boxes, combos.
bool IsTextInput(ControlType type);
// Types that take input the accept-all pass checks: the text inputs, lists, checks, options.
bool TakesInput(ControlType type);
// Types that show rows from a list source: lists and combos, dropping down or not.
bool IsListControl(ControlType type);

}  // namespace rt

#endif  // RUNTIME_WINDOW_CONTROL_TYPE_H_
