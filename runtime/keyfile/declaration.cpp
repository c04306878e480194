#include "runtime/keyfile/declaration.h"

#include <algorithm>
#include <set>

#include "runtime/keyfile/position.h"
#include "runtime/keyfile/text.h"

namespace rt::keyfile {
namespace {

// `name` without a leading "PREFIX:" when it carries this declaration's prefix.
std::string_view StripPrefix(std::string_view name, std::string_view prefix) {
  if (!prefix.empty() && name.size() > prefix.size() && name[prefix.size()] == ':' &&
      CompareKeyText(name.substr(0, prefix.size()), prefix) == 0) {
    return name.substr(prefix.size() + 1);
  }
  return name;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareKeyText(a, b) == 0;
}

const char* TypeTag(FieldType type) {
  switch (type) {
    case FieldType::kByte:
      return "B";
    case FieldType::kShort:
      return "S";
    case FieldType::kUShort:
      return "US";
    case FieldType::kLong:
      return "L";
    case FieldType::kULong:
      return "UL";
    case FieldType::kString:
      return "T";
  }
  return "?";
}

std::string FieldSignature(const Field& field) {
  return std::to_string(field.offset) + ":" + TypeTag(field.type) + ":" +
         std::to_string(FieldWidth(field));
}

}  // namespace

std::size_t NumericWidth(FieldType type) {
  switch (type) {
    case FieldType::kByte:
      return 1;
    case FieldType::kShort:
    case FieldType::kUShort:
      return 2;
    case FieldType::kLong:
    case FieldType::kULong:
      return 4;
    case FieldType::kString:
      return 0;
  }
  return 0;
}

std::size_t FieldWidth(const Field& field) {
  return field.type == FieldType::kString || field.width != 0 ? field.width
                                                              : NumericWidth(field.type);
}

int FileDeclaration::FindField(std::string_view name) const {
  const std::string_view bare = StripPrefix(name, prefix);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (SameName(fields[i].name, bare)) return static_cast<int>(i);
  }
  return -1;
}

int FileDeclaration::FindKey(std::string_view name) const {
  const std::string_view bare = StripPrefix(name, prefix);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (SameName(keys[i].name, bare)) return static_cast<int>(i);
  }
  return -1;
}

std::string FileDeclaration::Validate() const {
  if (record_length == 0) return "the record length is 0";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Field& field = fields[i];
    const std::size_t width = FieldWidth(field);
    if (field.name.empty()) return "field " + std::to_string(i) + " has no name";
    if (width == 0) return "field " + field.name + " has width 0";
    if (field.type != FieldType::kString && width != NumericWidth(field.type)) {
      return "field " + field.name + " has a width its type does not have";
    }
    if (field.offset > record_length || width > record_length - field.offset) {
      return "field " + field.name + " ends beyond the record";
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameName(fields[j].name, field.name)) return "field " + field.name + " is declared twice";
    }
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const Key& key = keys[i];
    if (key.name.empty()) return "key " + std::to_string(i) + " has no name";
    if (key.components.empty()) return "key " + key.name + " has no components";
    for (std::size_t j = 0; j < i; ++j) {
      if (SameName(keys[j].name, key.name)) return "key " + key.name + " is declared twice";
    }
    std::vector<std::size_t> widths;
    std::set<int> seen;
    for (const std::string& component : key.components) {
      const int f = FindField(component);
      if (f < 0) return "key " + key.name + " names an unknown field " + component;
      if (!seen.insert(f).second) return "key " + key.name + " repeats field " + component;
      const Field& field = fields[static_cast<std::size_t>(f)];
      widths.push_back(field.type == FieldType::kString ? FieldWidth(field) : 0);
    }
    if (MaxEncodedLength(widths) > kMaxKeyPosition) {
      return "key " + key.name + " is too wide for a position of " +
             std::to_string(kMaxKeyPosition) + " bytes";
    }
  }
  return "";
}

std::string FileDeclaration::LayoutSignature() const {
  std::vector<const Field*> ordered;
  for (const Field& field : fields) ordered.push_back(&field);
  std::stable_sort(ordered.begin(), ordered.end(), [](const Field* a, const Field* b) {
    return a->offset != b->offset ? a->offset < b->offset : FieldWidth(*a) < FieldWidth(*b);
  });
  std::string out = "layout1;length=" + std::to_string(record_length) + ";fields=";
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    if (i > 0) out += ",";
    out += FieldSignature(*ordered[i]);
  }
  out += ";keys=";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0) out += "|";
    out += keys[i].unique ? "U(" : "D(";
    for (std::size_t j = 0; j < keys[i].components.size(); ++j) {
      if (j > 0) out += ",";
      const int f = FindField(keys[i].components[j]);
      out += f < 0 ? "?" : FieldSignature(fields[static_cast<std::size_t>(f)]);
    }
    out += ")";
  }
  out += blob.empty() ? ";blob=0" : ";blob=1";
  return out;
}

}  // namespace rt::keyfile
