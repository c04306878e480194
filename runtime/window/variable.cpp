#include "runtime/window/variable.h"

#include <algorithm>
#include <cstring>

namespace rt {

Value VarRef::Get() const {
  switch (kind_) {
    case Kind::kNone:
      return Value();
    case Kind::kFixed:
      return Value(std::string(static_cast<const char*>(data_), width_));
    case Kind::kString:
      return Value(*static_cast<const std::string*>(data_));
    case Kind::kLong:
      return Value(*static_cast<const int32_t*>(data_));
    case Kind::kULong:
      return Value(*static_cast<const uint32_t*>(data_));
    case Kind::kReal:
      return Value(*static_cast<const double*>(data_));
  }
  return Value();
}

void VarRef::Set(const Value& v) const {
  switch (kind_) {
    case Kind::kNone:
      return;
    case Kind::kFixed: {
      const std::string text = v.AsText();
      char* out = static_cast<char*>(data_);
      const size_t n = std::min(text.size(), width_);
      std::memcpy(out, text.data(), n);
      std::memset(out + n, ' ', width_ - n);
      return;
    }
    case Kind::kString:
      *static_cast<std::string*>(data_) = v.AsText();
      return;
    case Kind::kLong:
      *static_cast<int32_t*>(data_) = static_cast<int32_t>(v.AsInt());
      return;
    case Kind::kULong:
      *static_cast<uint32_t*>(data_) = static_cast<uint32_t>(v.AsInt());
      return;
    case Kind::kReal:
      *static_cast<double*>(data_) = v.AsNumber();
      return;
  }
}

}  // namespace rt
