#include "runtime/value/text.h"

namespace rt {
namespace {

std::string_view ClipView(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

unsigned char UpperByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

template <bool kFold>
int Compare(std::string_view a, std::string_view b) {
  a = ClipView(a);
  b = ClipView(b);
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if constexpr (kFold) {
      x = UpperByte(x);
      y = UpperByte(y);
    }
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

std::string Clip(std::string_view text) { return std::string(ClipView(text)); }

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
  return out;
}

int ClipCompare(std::string_view a, std::string_view b) { return Compare<true>(a, b); }

int ClipCompareCase(std::string_view a, std::string_view b) { return Compare<false>(a, b); }

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace rt
