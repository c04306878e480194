// Names that view filters may use: variables and record fields bound by the
// caller to storage it owns.
//
// A filter expression names fields and variables ("UPPER(WIN:ProcedureName) =
// UPPER(LOC:UniqueMarker)"); a NameTable says what each name stands for. The
// table refers to the caller's storage without owning it: storage must stay
// valid while it is bound and while a view compiled against it is open. Names
// compare without regard to letter case.
//
// Thread safety: none; a table belongs to one thread (the system keeps one per
// runtime thread).

#ifndef RUNTIME_KEYFILE_NAMES_H_
#define RUNTIME_KEYFILE_NAMES_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "runtime/keyfile/declaration.h"

namespace rt::keyfile {

// Caller-owned storage holding a value of a field type.
struct Variable {
  const std::byte* data = nullptr;
  FieldType type = FieldType::kString;
  std::size_t width = 0;  // Bytes (for numbers, the type's width).

  // Fixed text of `width` bytes, space padded.
  static Variable Text(const char* text, std::size_t width) {
    return {reinterpret_cast<const std::byte*>(text), FieldType::kString, width};
  }
  static Variable Of(const std::int32_t& v) { return Number(&v, FieldType::kLong); }
  static Variable Of(const std::uint32_t& v) { return Number(&v, FieldType::kULong); }
  static Variable Of(const std::int16_t& v) { return Number(&v, FieldType::kShort); }
  static Variable Of(const std::uint16_t& v) { return Number(&v, FieldType::kUShort); }
  static Variable Of(const std::uint8_t& v) { return Number(&v, FieldType::kByte); }

 private:
  static Variable Number(const void* v, FieldType type) {
    return {static_cast<const std::byte*>(v), type, NumericWidth(type)};
  }
};

class NameTable {
 public:
  // Binds `name` (replacing an earlier binding of it).
  void Bind(std::string_view name, Variable variable);
  // Binds every field of `declaration` as "PREFIX:FIELD" to its place in
  // `record`. REQUIRES: record spans the declaration's record length.
  void BindRecord(const FileDeclaration& declaration, std::span<const std::byte> record);
  void Unbind(std::string_view name);
  // Unbinds the "PREFIX:FIELD" names of `declaration`.
  void UnbindRecord(const FileDeclaration& declaration);
  // The binding of `name`, or null.
  const Variable* Find(std::string_view name) const;
  std::size_t size() const { return names_.size(); }

 private:
  std::map<std::string, Variable> names_;  // By upper-cased name.
};

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_NAMES_H_
