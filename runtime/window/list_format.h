// List formats: the columns of a list, drop list or combo, written one after another:
//   width justification [(indent)] modifiers [~header~ [justification [(indent)]]] @picture@
// e.g. "80L(2)|M~Label~@s80@92L(2)|M~Description~@s100@" (two columns) or "320L(2)|M@s80@".
// - width: digits, in dialog units;
// - justification: L, R, C or D (decimal), case-insensitive; indent: optional signed number;
// - modifiers: "|" right border, "M" resizable, "_" underline, "F" fixed, "Y" or "*" colours,
//   "I" or "J" icons, "T" tree, "Z" style, in any order and also after the header;
// - the picture (picture.h) closes the column; every column has one.
#ifndef RUNTIME_WINDOW_LIST_FORMAT_H_
#define RUNTIME_WINDOW_LIST_FORMAT_H_

#include <string>
#include <string_view>
#include <vector>

#include "runtime/status/status.h"

namespace rt {

struct ListColumn {
  int width = 0;
  char justify = 'L';  // L, R, C or D
  int indent = 0;
  std::string header;       // "" when none
  char header_justify = 0;  // 0: like the column
  int header_indent = 0;
  std::string picture;  // "@s80"
  bool right_border = false;
  bool resizable = false;
  std::string modifiers;  // the other modifier letters, upper case, in order
  friend bool operator==(const ListColumn&, const ListColumn&) = default;
};

// Parses a list format; an empty format has no columns. A malformed format gives
// InvalidArgument naming the fault and its position; *out is then unchanged. `out` may be null.
Status ParseListFormat(std::string_view format, std::vector<ListColumn>* out);

}  // namespace rt

#endif  // RUNTIME_WINDOW_LIST_FORMAT_H_
