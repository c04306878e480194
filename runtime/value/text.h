// Text helpers with the comparison rules of business data: fixed-width text fields are padded
// with spaces, so trailing spaces carry no meaning, and keys compare without regard to case.
//
// Case folding is ASCII only (a-z <-> A-Z); every other byte, including UTF-8 sequences and
// Latin-1 letters, is compared and copied unchanged. All functions are pure and thread safe.
#ifndef RUNTIME_VALUE_TEXT_H_
#define RUNTIME_VALUE_TEXT_H_

#include <string>
#include <string_view>

namespace rt {

// `text` without its trailing spaces (only ' '; tabs and other blanks are kept).
std::string Clip(std::string_view text);

// `text` with ASCII letters in upper case.
std::string Upper(std::string_view text);

// Three-way comparison of `a` and `b`, ASCII case-insensitive, trailing spaces ignored.
// Returns <0, 0 or >0. Bytes compare as unsigned after folding to upper case, so the order is
// the same as that of Upper(Clip(a)) against Upper(Clip(b)).
int ClipCompare(std::string_view a, std::string_view b);

// Three-way comparison with trailing spaces ignored, case significant (bytes as unsigned).
int ClipCompareCase(std::string_view a, std::string_view b);

// True when `a` and `b` are equal ignoring ASCII case and trailing spaces.
inline bool ClipEquals(std::string_view a, std::string_view b) { return ClipCompare(a, b) == 0; }

// True when `text` is empty or holds only spaces.
bool IsBlank(std::string_view text);

}  // namespace rt

#endif  // RUNTIME_VALUE_TEXT_H_
