// Pictures: the format through which an entry, spin box, string or list column shows and
// takes its value, written "@" + a type letter + its parameters:
//   @S20        text of 20 characters
//   @N8  @N-10.2  @N$10.2  @N10.2~ kg~   numbers: width, decimals, sign, currency, literals
//   @E12.4      numbers in scientific notation
//   @D6  @T4    dates and times in format 6 / 4 (optional separators ".-_`',", "B" blank
//               when zero after the number)
//   @P##-####P  @K###K   patterns (shown / key-in), closed by their own letter
// Type letters are case-insensitive.
#ifndef RUNTIME_WINDOW_PICTURE_H_
#define RUNTIME_WINDOW_PICTURE_H_

#include <string_view>

#include "runtime/status/status.h"

namespace rt {

struct Picture {
  char type = 'S';  // upper case: S, N, E, D, T, P or K
  int width = 0;    // S: characters; N, E: the leading number; D, T: the format; P, K: length
};

// Parses `text` (e.g. "@s20"). A malformed picture gives InvalidArgument saying what is wrong;
// *out is then unchanged. `out` may be null to only check.
Status ParsePicture(std::string_view text, Picture* out);

}  // namespace rt

#endif  // RUNTIME_WINDOW_PICTURE_H_
