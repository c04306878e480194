// Text rules of the driver: fixed-width 8-bit text, space padded, whose trailing
// spaces are never significant, and its case folding. Keys, positions and filter
// expressions all use these functions, so that a key order, a key lookup and a
// filter's UPPER() agree on every byte.
//
// Case folding maps ASCII a-z and the Latin-1 letters E0h-FEh (except F7h, the
// division sign) to upper case; every other byte is its own upper case.
// Thread-safe: pure functions.

#ifndef RUNTIME_KEYFILE_TEXT_H_
#define RUNTIME_KEYFILE_TEXT_H_

#include <array>
#include <string>
#include <string_view>

namespace rt::keyfile {

namespace text_internal {
constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const bool lower = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
    table[c] = static_cast<unsigned char>(lower ? c - 0x20 : c);
  }
  return table;
}
inline constexpr std::array<unsigned char, 256> kFoldTable = MakeFoldTable();
}  // namespace text_internal

// The upper case of one byte. (Inline: the key collation calls it per byte.)
inline unsigned char FoldCase(unsigned char c) { return text_internal::kFoldTable[c]; }

// `text` upper-cased byte by byte.
std::string UpperText(std::string_view text);

// `text` without its trailing spaces.
std::string_view ClipText(std::string_view text);

// Compares as fixed strings do: the shorter text is taken as padded with spaces.
// Case-sensitive. Returns <0, 0 or >0.
int ComparePadded(std::string_view a, std::string_view b);

// ComparePadded() on the upper case of both texts: the order of string key
// components ("abc" == "ABC  ").
int CompareKeyText(std::string_view a, std::string_view b);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_TEXT_H_
