// Choice strings: the fixed items of a drop list, combo, list or spin box, written as one
// text with "|" between items. An item may be followed by "|#value": choosing the item
// stores that value in the control's variable instead of the item's text.
//   "Default|#0|Left|#1|Right|#2"   three items storing 0, 1, 2
//   "8|9|10|12"                      four items storing their own texts
// A trailing "|" is ignored. Either every item has a value or none has: a string that mixes
// them, or a "#value" with no item before it, is malformed.
#ifndef RUNTIME_WINDOW_CHOICE_STRING_H_
#define RUNTIME_WINDOW_CHOICE_STRING_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/status/status.h"
#include "runtime/value/value.h"

namespace rt {

struct ChoiceItem {
  std::string text;
  // What choosing the item stores: a number when the value text is a plain decimal number
  // ("-12", "3.5"), the value text otherwise; nullopt when the string gives no values.
  std::optional<Value> value;
  friend bool operator==(const ChoiceItem&, const ChoiceItem&) = default;
};

// Parses a choice string into its items. A malformed string gives InvalidArgument naming the
// fault; *out is then unchanged. `out` may be null to only check.
Status ParseChoiceString(std::string_view text, std::vector<ChoiceItem>* out);

// The items' texts joined by "|" (the ChoiceList property of the control).
std::string JoinChoiceTexts(const std::vector<ChoiceItem>& items);

}  // namespace rt

#endif  // RUNTIME_WINDOW_CHOICE_STRING_H_
