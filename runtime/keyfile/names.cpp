#include "runtime/keyfile/names.h"

#include "runtime/keyfile/text.h"

namespace rt::keyfile {
namespace {

std::string QualifiedName(const FileDeclaration& declaration, const Field& field) {
  return UpperText(declaration.prefix.empty() ? field.name : declaration.prefix + ":" + field.name);
}

}  // namespace

void NameTable::Bind(std::string_view name, Variable variable) {
  names_[UpperText(name)] = variable;
}

void NameTable::BindRecord(const FileDeclaration& declaration, std::span<const std::byte> record) {
  for (const Field& field : declaration.fields) {
    names_[QualifiedName(declaration, field)] =
        Variable{record.data() + field.offset, field.type, FieldWidth(field)};
  }
}

void NameTable::Unbind(std::string_view name) { names_.erase(UpperText(name)); }

void NameTable::UnbindRecord(const FileDeclaration& declaration) {
  for (const Field& field : declaration.fields) names_.erase(QualifiedName(declaration, field));
}

const Variable* NameTable::Find(std::string_view name) const {
  auto it = names_.find(UpperText(name));
  return it == names_.end() ? nullptr : &it->second;
}

}  // namespace rt::keyfile
