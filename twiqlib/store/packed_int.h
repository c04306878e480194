// PackedInt<T>: a 32-bit integer stored as 4 little-endian bytes with no alignment.
//
// The settings record is a packed image whose numbers lie at any offset (some at odd ones), so
// its numeric fields cannot be plain int32_t: a reference or pointer to a misaligned int32_t is
// undefined behaviour. PackedInt reads and writes by value only; it converts implicitly to and
// from T, so `r.x = 5`, `int32_t x = r.x`, `r.x == 5` and `switch (r.type)` work, while binding
// an `int32_t&` to a field does not compile.
#ifndef TWIQLIB_STORE_PACKED_INT_H_
#define TWIQLIB_STORE_PACKED_INT_H_

#include <cstdint>
#include <ostream>
#include <type_traits>

namespace twiq {

template <typename T>
class PackedInt {
  static_assert(std::is_same_v<T, int32_t> || std::is_same_v<T, uint32_t>);

 public:
  PackedInt() = default;
  PackedInt(T v) { Store(v); }  // NOLINT: implicit by design
  operator T() const {          // NOLINT: implicit by design
    const uint32_t u = static_cast<uint32_t>(b_[0]) | static_cast<uint32_t>(b_[1]) << 8 |
                       static_cast<uint32_t>(b_[2]) << 16 | static_cast<uint32_t>(b_[3]) << 24;
    return static_cast<T>(u);
  }
  PackedInt& operator=(T v) {
    Store(v);
    return *this;
  }
  PackedInt& operator+=(T v) { return *this = static_cast<T>(T(*this) + v); }
  PackedInt& operator-=(T v) { return *this = static_cast<T>(T(*this) - v); }
  PackedInt& operator++() { return *this += 1; }
  PackedInt& operator--() { return *this -= 1; }

  friend std::ostream& operator<<(std::ostream& os, PackedInt v) { return os << T(v); }

 private:
  void Store(T v) {
    const uint32_t u = static_cast<uint32_t>(v);
    b_[0] = static_cast<unsigned char>(u);
    b_[1] = static_cast<unsigned char>(u >> 8);
    b_[2] = static_cast<unsigned char>(u >> 16);
    b_[3] = static_cast<unsigned char>(u >> 24);
  }
  unsigned char b_[4] = {};
};

static_assert(sizeof(PackedInt<int32_t>) == 4 && alignof(PackedInt<int32_t>) == 1);
static_assert(std::is_trivially_copyable_v<PackedInt<int32_t>>);

}  // namespace twiq

#endif  // TWIQLIB_STORE_PACKED_INT_H_
