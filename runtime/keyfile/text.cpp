#include "runtime/keyfile/text.h"

#include <algorithm>
#include <cstring>

namespace rt::keyfile {
namespace {

template <typename Map>
int CompareMapped(std::string_view a, std::string_view b, Map map) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char ca = map(static_cast<unsigned char>(a[i]));
    const unsigned char cb = map(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  // The longer text's tail is compared with the spaces the shorter one is padded with.
  const std::string_view tail = a.size() > b.size() ? a.substr(common) : b.substr(common);
  const int sign = a.size() > b.size() ? 1 : -1;
  for (char c : tail) {
    const unsigned char m = map(static_cast<unsigned char>(c));
    if (m != ' ') return m > ' ' ? sign : -sign;
  }
  return 0;
}

}  // namespace

std::string UpperText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  return out;
}

std::string_view ClipText(std::string_view text) {
  // Fixed fields are mostly padding: skip it eight bytes at a time.
  static constexpr char kSpaces[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  std::size_t n = text.size();
  while (n >= 8 && std::memcmp(text.data() + n - 8, kSpaces, 8) == 0) n -= 8;
  while (n > 0 && text[n - 1] == ' ') --n;
  return text.substr(0, n);
}

int ComparePadded(std::string_view a, std::string_view b) {
  return CompareMapped(a, b, [](unsigned char c) { return c; });
}

int CompareKeyText(std::string_view a, std::string_view b) { return CompareMapped(a, b, FoldCase); }

}  // namespace rt::keyfile
