// File declarations: what a keyed file holds and where its name and password
// come from.
//
// A FileDeclaration is a plain value describing one record layout: a prefix
// (the declaration's name in filter expressions: "WIN:UID"), the fixed record
// length, the fields (the name table that filters bind), the keys, an optional
// blob, and shared references to a file-name and an owner-password variable.
// Several declarations may share the same variables (a declaration and its
// alias, or an older layout of the same file): setting the variable re-targets
// all of them at their next open or create.
//
// The layout, not the prefix or the field names, identifies a file's format:
// two declarations with the same record length, field offsets, types and widths,
// keys and blob open the same files (an alias under another prefix does).
//
// Thread safety: a FileDeclaration is immutable once handed to a File; any
// number of threads may read it. TextVariable is internally synchronised.

#ifndef RUNTIME_KEYFILE_DECLARATION_H_
#define RUNTIME_KEYFILE_DECLARATION_H_

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace rt::keyfile {

// Field types. Numbers are little-endian; kString is fixed 8-bit text padded on
// the right with spaces, with no terminator.
enum class FieldType { kByte, kShort, kUShort, kLong, kULong, kString };

// The width of a numeric type in bytes; 0 for kString (the field gives it).
std::size_t NumericWidth(FieldType type);

struct Field {
  std::string name;        // Without the prefix: "UID". Unique, letter case ignored.
  std::size_t offset = 0;  // Bytes from the start of the record.
  FieldType type = FieldType::kString;
  std::size_t width = 0;  // Bytes; may be 0 for numbers (the type's width).
};

struct Key {
  std::string name;                     // Without the prefix: "KEYUID".
  std::vector<std::string> components;  // Field names, most significant first; ascending.
  bool unique = false;                  // Duplicates refused (error 40) when true.
};

// A text variable shared by declarations and by the threads that set it (the
// process's settings file name, its owner password). Trailing spaces of the
// value are ignored by the driver, so fixed-width text may be stored as is.
class TextVariable {
 public:
  TextVariable() = default;
  explicit TextVariable(std::string value) : value_(std::move(value)) {}
  TextVariable(const TextVariable&) = delete;
  TextVariable& operator=(const TextVariable&) = delete;

  std::string Get() const {
    std::lock_guard lock(mutex_);
    return value_;
  }
  void Set(std::string_view value) {
    std::lock_guard lock(mutex_);
    value_.assign(value);
  }

 private:
  mutable std::mutex mutex_;
  std::string value_;  // GUARDED_BY(mutex_)
};

struct FileDeclaration {
  std::string prefix;             // "WIN"
  std::size_t record_length = 0;  // Bytes of one record.
  std::vector<Field> fields;
  std::vector<Key> keys;
  std::string blob;  // Name of the record's blob ("IMAGEBLOB"); "" for none.
  // The file name and the owner password (blank: unprotected). Null means blank.
  std::shared_ptr<TextVariable> file_name;
  std::shared_ptr<TextVariable> password;

  // Index of the field named `name` ("UID" or "WIN:UID", letter case ignored), or -1.
  int FindField(std::string_view name) const;
  // Index of the key named `name` ("KEYUID" or "WIN:KEYUID"), or -1.
  int FindKey(std::string_view name) const;
  // "" when the declaration is usable; otherwise what is wrong with it.
  std::string Validate() const;
  // Canonical text of the physical layout, stored in every file created from
  // the declaration and compared at open (mismatch: error 47).
  std::string LayoutSignature() const;
};

// The width of `field`, resolving a numeric width of 0.
std::size_t FieldWidth(const Field& field);

}  // namespace rt::keyfile

#endif  // RUNTIME_KEYFILE_DECLARATION_H_
