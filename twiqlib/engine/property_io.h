// Conversions between window properties and the fields of a settings record, shared by
// capture and application.
//
// Text fields take a property's text cut to the field's width and padded with spaces; they
// are applied without their trailing spaces, which never carry meaning. Number fields take
// the property's number saturated to the signed 32-bit range. Colour fields are the one
// exception: the runtime's colour values are unsigned 32-bit numbers (kNoColour is
// FF000000h), so a colour is stored as its 32 bits in the signed field and applied as those
// 32 bits read unsigned, which gives back exactly the colour that was captured.
//
// Internal to the engine; all functions are pure apart from the window they read or write.
#ifndef TWIQLIB_ENGINE_PROPERTY_IO_H_
#define TWIQLIB_ENGINE_PROPERTY_IO_H_

#include <cstdint>
#include <limits>

#include "runtime/value/value.h"
#include "runtime/window/window.h"
#include "twiqlib/store/fixed_string.h"

namespace twiq::engine {

inline int32_t ToLong(const rt::Value& value) {
  const int64_t n = value.AsInt();
  if (n > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (n < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(n);
}

inline int32_t ToColourField(const rt::Value& value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value.AsInt()));
}

inline int64_t ColourFromField(int32_t field) {
  return static_cast<int64_t>(static_cast<uint32_t>(field));
}

// A property that counts as set: its value is not 0.
inline bool IsSet(const rt::Window& window, int feq, int code) {
  return window.Get(feq, code).AsNumber() != 0;
}

inline int32_t GetLong(const rt::Window& window, int feq, int code) {
  return ToLong(window.Get(feq, code));
}

inline int32_t GetColour(const rt::Window& window, int feq, int code) {
  return ToColourField(window.Get(feq, code));
}

template <size_t N>
void GetText(const rt::Window& window, int feq, int code, FixedString<N>& field) {
  field = window.Get(feq, code).AsText();
}

inline void SetLong(rt::Window& window, int feq, int code, int32_t value) {
  window.Set(feq, code, value);
}

inline void SetColour(rt::Window& window, int feq, int code, int32_t field) {
  window.Set(feq, code, ColourFromField(field));
}

template <size_t N>
void SetText(rt::Window& window, int feq, int code, const FixedString<N>& field) {
  window.Set(feq, code, field.Clipped());
}

}  // namespace twiq::engine

#endif  // TWIQLIB_ENGINE_PROPERTY_IO_H_
