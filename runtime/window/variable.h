// rt::VarRef: a reference to a program variable that a control is bound to.
//
// DISPLAY copies a bound variable into its control and UPDATE copies the control back. The
// variable belongs to the program: it must outlive the window it is bound in, and only the
// window's owner thread reads or writes it (DISPLAY and UPDATE run there).
#ifndef RUNTIME_WINDOW_VARIABLE_H_
#define RUNTIME_WINDOW_VARIABLE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/value/value.h"

namespace rt {

class VarRef {
 public:
  VarRef() = default;  // not bound

  // A fixed-width text field of exactly `width` bytes, space padded, not terminated.
  static VarRef Fixed(char* data, size_t width) { return VarRef(Kind::kFixed, data, width); }
  template <size_t N>
  static VarRef Fixed(char (&data)[N]) {
    return Fixed(data, N);
  }
  static VarRef Text(std::string* s) { return VarRef(Kind::kString, s, 0); }
  static VarRef Long(int32_t* n) { return VarRef(Kind::kLong, n, 0); }
  static VarRef ULong(uint32_t* n) { return VarRef(Kind::kULong, n, 0); }
  static VarRef Real(double* n) { return VarRef(Kind::kReal, n, 0); }

  bool bound() const { return data_ != nullptr; }

  // The variable's value: text for text variables (trailing spaces kept), a number otherwise.
  // An unbound reference reads as empty text.
  Value Get() const;
  // Stores `v` converted to the variable's kind; fixed text is cut or space padded to width.
  // Does nothing when unbound.
  void Set(const Value& v) const;

  friend bool operator==(const VarRef& a, const VarRef& b) {
    return a.kind_ == b.kind_ && a.data_ == b.data_ && a.width_ == b.width_;
  }

 private:
  enum class Kind { kNone, kFixed, kString, kLong, kULong, kReal };
  VarRef(Kind kind, void* data, size_t width) : kind_(kind), data_(data), width_(width) {}

  Kind kind_ = Kind::kNone;
  void* data_ = nullptr;
  size_t width_ = 0;
};

}  // namespace rt

#endif  // RUNTIME_WINDOW_VARIABLE_H_
