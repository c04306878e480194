// twiq::FixedString<N>: a fixed-width text field of a stored record.
//
// Exactly N bytes of 8-bit text, padded on the right with spaces and carrying no terminator,
// so that a record holding it has the same bytes in memory and on disk. Trailing spaces never
// carry meaning: Clipped() drops them and every comparison ignores them.
//
// Assignment from longer text keeps its first N bytes (the field's width is the contract);
// shorter text is padded with spaces. Embedded zero bytes are stored as given.
//
// Value type; trivially copyable; no alignment beyond 1, so it can sit at any offset of a
// packed record. Thread safety: none needed (a value).
#ifndef TWIQLIB_STORE_FIXED_STRING_H_
#define TWIQLIB_STORE_FIXED_STRING_H_

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/value/text.h"

namespace twiq {

template <size_t N>
class FixedString {
  static_assert(N > 0, "a fixed text field has at least one byte");

 public:
  static constexpr size_t kWidth = N;

  // All spaces.
  constexpr FixedString() { Clear(); }
  // `text` cut to N bytes or padded with spaces.
  constexpr FixedString(std::string_view text) { Assign(text); }  // NOLINT: implicit by design
  constexpr FixedString(const char* text) : FixedString(std::string_view(text)) {}  // NOLINT

  constexpr FixedString& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }
  constexpr FixedString& operator=(const char* text) { return *this = std::string_view(text); }

  // Sets every byte to a space.
  constexpr void Clear() { std::fill(bytes_, bytes_ + N, ' '); }
  // Fills every byte with `c` (record images of older layouts are filled with spaces or
  // zeros as a whole).
  constexpr void Fill(char c) { std::fill(bytes_, bytes_ + N, c); }

  constexpr void Assign(std::string_view text) {
    size_t n = std::min(text.size(), N);
    std::copy(text.data(), text.data() + n, bytes_);
    std::fill(bytes_ + n, bytes_ + N, ' ');
  }

  // All N bytes, padding included.
  constexpr std::string_view View() const { return std::string_view(bytes_, N); }
  // The text without its trailing spaces.
  constexpr std::string_view Clipped() const {
    size_t n = N;
    while (n > 0 && bytes_[n - 1] == ' ') --n;
    return std::string_view(bytes_, n);
  }
  std::string str() const { return std::string(Clipped()); }
  constexpr bool IsBlank() const { return Clipped().empty(); }

  char* data() { return bytes_; }
  const char* data() const { return bytes_; }
  static constexpr size_t size() { return N; }

  // Equal when the texts are equal ignoring trailing spaces (case counts).
  friend constexpr bool operator==(const FixedString& a, const FixedString& b) {
    return a.Clipped() == b.Clipped();
  }
  friend constexpr bool operator==(const FixedString& a, std::string_view b) {
    size_t n = b.size();
    while (n > 0 && b[n - 1] == ' ') --n;
    return a.Clipped() == b.substr(0, n);
  }
  friend constexpr bool operator==(const FixedString& a, const char* b) {
    return a == std::string_view(b);
  }

  // Equal ignoring ASCII letter case and trailing spaces (how keys and markers compare).
  bool SameAs(std::string_view other) const { return rt::ClipEquals(View(), other); }

 private:
  char bytes_[N];
};

}  // namespace twiq

#endif  // TWIQLIB_STORE_FIXED_STRING_H_
