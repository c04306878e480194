#include "twiqlib/store/win_file.h"

#include <utility>
#include <vector>

#include "twiqlib/store/win_record.h"

namespace twiq {
namespace {

using rt::keyfile::Field;
using rt::keyfile::FieldType;
using rt::keyfile::FileDeclaration;
using rt::keyfile::Key;
using rt::keyfile::TextVariable;

#define TWIQ_KIND_LONG FieldType::kLong
#define TWIQ_KIND_ULONG FieldType::kULong
#define TWIQ_KIND_STRING FieldType::kString
#define TWIQ_TABLE_ENTRY(kind, member, name, width, offset) \
  Field{name, offset, TWIQ_KIND_##kind, width},

const std::vector<Field>& WinFields() {
  static const std::vector<Field>* fields =
      new std::vector<Field>{TWIQ_WIN_FIELDS(TWIQ_TABLE_ENTRY)};
  return *fields;
}

const std::vector<Field>& Win001Fields() {
  static const std::vector<Field>* fields =
      new std::vector<Field>{TWIQ_WIN_FIELDS_001(TWIQ_TABLE_ENTRY)};
  return *fields;
}

#undef TWIQ_TABLE_ENTRY

std::vector<Key> WinKeys() {
  return {
      {"KEYUID", {"UID"}, true},
      {"KEYPROCEDUREMARKERLABEL", {"PROCEDURENAME", "UNIQUEMARKER", "CONTROLLABEL"}, false},
      {"KEYPROCEDUREMARKERFEQ", {"PROCEDURENAME", "UNIQUEMARKER", "FEQ"}, false},
      {"ORDERKEY", {"PROCEDURENAME", "UNIQUEMARKER", "ORDER"}, false},
  };
}

std::shared_ptr<const FileDeclaration> Make(std::string prefix, size_t length,
                                            const std::vector<Field>& fields, bool blob,
                                            std::shared_ptr<TextVariable> file_name,
                                            std::shared_ptr<TextVariable> password) {
  auto d = std::make_shared<FileDeclaration>();
  d->prefix = std::move(prefix);
  d->record_length = length;
  d->fields = fields;
  d->keys = WinKeys();
  d->blob = blob ? std::string(kBlobName) : std::string();
  d->file_name = std::move(file_name);
  d->password = std::move(password);
  return d;
}

}  // namespace

const std::shared_ptr<TextVariable>& SettingsFileNameVariable() {
  static const auto* variable = new std::shared_ptr<TextVariable>(std::make_shared<TextVariable>());
  return *variable;
}

const std::shared_ptr<TextVariable>& SettingsPasswordVariable() {
  static const auto* variable = new std::shared_ptr<TextVariable>(std::make_shared<TextVariable>());
  return *variable;
}

std::shared_ptr<const FileDeclaration> MakeWinDeclaration(std::string prefix,
                                                          std::shared_ptr<TextVariable> file_name,
                                                          std::shared_ptr<TextVariable> password) {
  return Make(std::move(prefix), kWinRecordSize, WinFields(), true, std::move(file_name),
              std::move(password));
}

std::shared_ptr<const FileDeclaration> MakeWin001Declaration(
    std::string prefix, std::shared_ptr<TextVariable> file_name,
    std::shared_ptr<TextVariable> password) {
  return Make(std::move(prefix), kWin001RecordSize, Win001Fields(), false, std::move(file_name),
              std::move(password));
}

#define TWIQ_PROCESS_DECLARATION(function, maker, prefix)                        \
  std::shared_ptr<const FileDeclaration> function() {                            \
    static const auto* declaration = new std::shared_ptr<const FileDeclaration>( \
        maker(prefix, SettingsFileNameVariable(), SettingsPasswordVariable()));  \
    return *declaration;                                                         \
  }
TWIQ_PROCESS_DECLARATION(WinDeclaration, MakeWinDeclaration, "WIN")
TWIQ_PROCESS_DECLARATION(Win2Declaration, MakeWinDeclaration, "WIN2")
TWIQ_PROCESS_DECLARATION(Win002Declaration, MakeWinDeclaration, "WIN_002")
TWIQ_PROCESS_DECLARATION(Win001Declaration, MakeWin001Declaration, "WIN_001")
#undef TWIQ_PROCESS_DECLARATION

}  // namespace twiq
