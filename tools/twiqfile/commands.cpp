#include "tools/twiqfile/commands.h"

#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/record.h"
#include "runtime/keyfile/text.h"
#include "tools/twiqfile/json.h"
#include "tools/twiqfile/record_json.h"
#include "tools/twiqfile/settings_access.h"
#include "twiqlib/bindings/message_box.h"
#include "twiqlib/store/add_with_new_uid.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiqfile {

namespace kf = rt::keyfile;

namespace {

constexpr int kModeRead = 0x40;  // read, nothing denied to others
constexpr std::string_view kExportFormat = "twiqfile export";
constexpr int64_t kExportVersion = 1;

const kf::Field& FieldNamed(const kf::FileDeclaration& d, std::string_view name) {
  return d.fields[static_cast<size_t>(d.FindField(name))];
}

std::string Text(const OpenedFile& f, std::string_view name) {
  const kf::Field& field = FieldNamed(f.file->declaration(), name);
  return std::string(kf::ClipText(kf::ReadText(f.record, field)));
}

int64_t Number(const OpenedFile& f, std::string_view name) {
  return kf::ReadNumber(f.record, FieldNamed(f.file->declaration(), name));
}

// The key named on the command line: a short name or a key's own name; -1 for none.
int ResolveKey(const std::string& name) {
  const std::string upper = kf::UpperText(name);
  if (upper == "UID") return twiq::kKeyUid;
  if (upper == "LABEL") return twiq::kKeyProcedureMarkerLabel;
  if (upper == "FEQ") return twiq::kKeyProcedureMarkerFeq;
  if (upper == "ORDER") return twiq::kOrderKey;
  return twiq::WinDeclaration()->FindKey(name);
}

// <0, 0, >0 as the key orders records `a` and `b`.
int CompareByKey(const kf::FileDeclaration& d, const kf::Key& key, std::span<const std::byte> a,
                 std::span<const std::byte> b) {
  for (const std::string& component : key.components) {
    const kf::Field& field = FieldNamed(d, component);
    int c;
    if (field.type == kf::FieldType::kString) {
      c = kf::CompareKeyText(kf::ReadText(a, field), kf::ReadText(b, field));
    } else {
      const int64_t x = kf::ReadNumber(a, field), y = kf::ReadNumber(b, field);
      c = x < y ? -1 : x > y ? 1 : 0;
    }
    if (c != 0) return c;
  }
  return 0;
}

std::string ReadFailure(const std::string& name, int rc) {
  if (rc == kf::kDriverError) {
    return name + ": damaged: " + kf::DriverError();
  }
  return name + ": reading failed: " + kf::ErrorText() + " (" + std::to_string(rc) + ")";
}

}  // namespace

int Dump(const CommonOptions& options, const std::string& key, std::ostream& out,
         std::ostream& err) {
  const int key_index = ResolveKey(key);
  if (key_index < 0) {
    err << "twiqfile: unknown key \"" << key << "\" (uid, label, feq or order)\n";
    return kExitUsage;
  }
  OpenedFile f;
  std::string message;
  if (!OpenSettings(options.file, options.password, kModeRead, true, f, message)) {
    err << "twiqfile: " << message << "\n";
    return kExitCannotOpen;
  }
  f.file->Set(key_index);
  int rc;
  while ((rc = f.file->Next()) == kf::kOk) {
    out << RecordToJson(f.file->declaration(), f.record) << "\n";
  }
  if (rc != kf::kRecordNotAvailable) {
    err << "twiqfile: " << ReadFailure(options.file, rc) << "\n";
    return kExitCannotOpen;
  }
  return kExitOk;
}

int Check(const CommonOptions& options, std::ostream& out, std::ostream& err) {
  OpenedFile f;
  std::string message;
  if (!OpenSettings(options.file, options.password, kModeRead, true, f, message)) {
    err << "twiqfile: " << message << "\n";
    return kExitCannotOpen;
  }
  const kf::FileDeclaration& d = f.file->declaration();
  const std::string& name = options.file;
  std::vector<std::string> problems;
  if (f.older_layout) {
    out << name << ": records of the older 3021-byte layout; the library converts the file "
        << "when it next uses it\n";
  }

  // Every record in file order.
  std::map<int64_t, std::vector<int64_t>> by_uid;  // UID -> positions in file order
  std::map<std::tuple<std::string, std::string, std::string>, std::vector<int64_t>> by_control;
  int64_t count = 0;
  f.file->SetFileOrder();
  int rc;
  while ((rc = f.file->Next()) == kf::kOk) {
    ++count;
    by_uid[Number(f, "UID")].push_back(count);
    by_control[{kf::UpperText(Text(f, "PROCEDURENAME")), kf::UpperText(Text(f, "UNIQUEMARKER")),
                kf::UpperText(Text(f, "CONTROLLABEL"))}]
        .push_back(Number(f, "UID"));
  }
  const bool complete = rc == kf::kRecordNotAvailable;
  if (!complete)
    problems.push_back(ReadFailure(name, rc) + " (after record " + std::to_string(count) +
                       " in file order)");

  // Each key lists every record once, in its order.
  for (size_t k = 0; complete && k < d.keys.size(); ++k) {
    const kf::Key& key = d.keys[k];
    std::vector<std::byte> previous;
    int64_t listed = 0;
    bool disorder = false;
    f.file->Set(static_cast<int>(k));
    while ((rc = f.file->Next()) == kf::kOk) {
      ++listed;
      if (!previous.empty()) {
        const int c = CompareByKey(d, key, previous, f.record);
        if (c > 0 || (c == 0 && key.unique)) disorder = true;
      }
      previous = f.record;
    }
    if (rc != kf::kRecordNotAvailable) {
      problems.push_back(ReadFailure(name, rc) + " (key " + key.name + ")");
      continue;
    }
    if (listed != count) {
      problems.push_back("key " + key.name + " lists " + std::to_string(listed) +
                         " records; the file holds " + std::to_string(count));
    }
    if (disorder) problems.push_back("key " + key.name + " is out of order");
  }

  for (const auto& [uid, positions] : by_uid) {
    if (uid == 0) {
      problems.push_back(std::to_string(positions.size()) + " record(s) with UID 0");
    } else if (positions.size() > 1) {
      problems.push_back("UID " + std::to_string(uid) + " is used by " +
                         std::to_string(positions.size()) + " records");
    }
  }
  for (const auto& [control, uids] : by_control) {
    if (uids.size() < 2) continue;
    const auto& [procedure, marker, label] = control;
    std::string list;
    for (int64_t uid : uids) list += (list.empty() ? "" : ", ") + std::to_string(uid);
    if (marker == twiq::kOriginalMarker) {
      problems.push_back("duplicate originals: procedure " + procedure + ", label " + label +
                         " (UIDs " + list + ")");
    } else {
      problems.push_back("duplicate records: procedure " + procedure + ", marker " + marker +
                         ", label " + label + " (UIDs " + list + ")");
    }
  }

  for (const std::string& p : problems) out << name << ": " << p << "\n";
  out << name << ": " << count << " records, " << problems.size()
      << (problems.size() == 1 ? " problem" : " problems") << "\n";
  return problems.empty() ? kExitOk : kExitProblems;
}

int Export(const CommonOptions& options, const std::string& procedure, const std::string& marker,
           std::ostream& out, std::ostream& err) {
  OpenedFile f;
  std::string message;
  if (!OpenSettings(options.file, options.password, kModeRead, true, f, message)) {
    err << "twiqfile: " << message << "\n";
    return kExitCannotOpen;
  }
  const kf::FileDeclaration& d = f.file->declaration();
  kf::ClearRecord(d, f.record);
  kf::WriteText(f.record, FieldNamed(d, "PROCEDURENAME"), procedure);
  kf::WriteText(f.record, FieldNamed(d, "UNIQUEMARKER"), marker);
  f.file->SetToValue(twiq::kKeyProcedureMarkerLabel);
  std::string records;
  int64_t count = 0;
  int rc;
  while ((rc = f.file->Next()) == kf::kOk) {
    if (kf::CompareKeyText(Text(f, "PROCEDURENAME"), procedure) != 0) break;
    if (!marker.empty() && kf::CompareKeyText(Text(f, "UNIQUEMARKER"), marker) != 0) break;
    records += (count++ == 0 ? "\n" : ",\n") + RecordToJson(d, f.record, /*skip_uid=*/true);
  }
  if (rc != kf::kOk && rc != kf::kRecordNotAvailable) {
    err << "twiqfile: " << ReadFailure(options.file, rc) << "\n";
    return kExitFailed;
  }
  if (count == 0) {
    err << "twiqfile: " << options.file << ": no records of procedure \"" << procedure << "\""
        << (marker.empty() ? std::string() : " with marker \"" + marker + "\"") << "\n";
    return kExitFailed;
  }
  out << "{\"format\":" << JsonString(kExportFormat) << ",\"version\":" << kExportVersion
      << ",\"procedure\":" << JsonString(procedure) << ",\"records\":[" << records << "\n]}\n";
  return kExitOk;
}

int Import(const CommonOptions& options, const std::string& document, const std::string& source,
           bool create, std::ostream& out, std::ostream& err) {
  JsonValue root;
  std::string error;
  if (!ParseJson(document, root, error)) {
    err << "twiqfile: " << source << ": not JSON: " << error << "\n";
    return kExitFailed;
  }
  const JsonValue* format = root.Find("format");
  const JsonValue* version = root.Find("version");
  const JsonValue* procedure = root.Find("procedure");
  const JsonValue* list = root.Find("records");
  if (root.kind != JsonValue::Kind::kObject || format == nullptr ||
      format->kind != JsonValue::Kind::kString || format->text != kExportFormat ||
      version == nullptr || version->kind != JsonValue::Kind::kNumber ||
      version->number != kExportVersion || procedure == nullptr ||
      procedure->kind != JsonValue::Kind::kString || list == nullptr ||
      list->kind != JsonValue::Kind::kArray) {
    err << "twiqfile: " << source << ": not an export of twiqfile (version " << kExportVersion
        << ")\n";
    return kExitFailed;
  }

  // Every record is checked before the file is touched.
  const auto declaration = twiq::WinDeclaration();
  std::vector<twiq::WinRecord> records(list->items.size());
  std::set<std::pair<std::string, std::string>> controls;
  for (size_t i = 0; i < list->items.size(); ++i) {
    const std::string where = source + ": record " + std::to_string(i + 1) + ": ";
    twiq::WinRecord& r = records[i];
    if (!RecordFromJson(*declaration, list->items[i], twiq::RecordBytes(r), false, error)) {
      err << "twiqfile: " << where << error << "\n";
      return kExitFailed;
    }
    if (kf::CompareKeyText(r.procedure_name.View(), procedure->text) != 0) {
      err << "twiqfile: " << where << "PROCEDURENAME \"" << r.procedure_name.str()
          << "\" is not the exported procedure \"" << procedure->text << "\"\n";
      return kExitFailed;
    }
    if (!controls
             .insert({kf::UpperText(r.unique_marker.Clipped()),
                      kf::UpperText(r.control_label.Clipped())})
             .second) {
      err << "twiqfile: " << where << "a second record for marker \"" << r.unique_marker.str()
          << "\", label \"" << r.control_label.str() << "\"\n";
      return kExitFailed;
    }
  }

  // The library's own handle and numbering, so UIDs are taken as every station takes them.
  twiq::SettingsFileNameVariable()->Set(options.file);
  twiq::SettingsPasswordVariable()->Set(options.password);
  twiq::StoreThreadContext& store = twiq::Store();
  kf::File& file = store.win_file;
  int rc = file.Open(kf::kModeShared);
  if (rc == kf::kFileNotFound && create) {
    rc = file.Create();
    if (rc == kf::kOk) rc = file.Open(kf::kModeShared);
  }
  if (rc != kf::kOk) {
    err << "twiqfile: " << OpenErrorMessage(options.file, rc)
        << (rc == kf::kFileNotFound ? " (--create makes one)" : "") << "\n";
    return kExitCannotOpen;
  }
  if (file.Begin(10) != kf::kOk) {
    err << "twiqfile: " << options.file << ": locked by another program\n";
    return kExitCannotOpen;
  }
  std::vector<std::string> boxes;
  twiq::MessageBoxHandler previous =
      twiq::SetMessageBoxHandler([&boxes](const twiq::MessageBoxRequest& request) {
        boxes.push_back(request.caption + ": " + request.text);
        return twiq::kButtonCancel & request.buttons ? twiq::kButtonCancel : request.default_button;
      });
  int added = 0, replaced = 0;
  std::string failure;
  for (const twiq::WinRecord& r : records) {
    store.win = r;
    if (file.Get(twiq::kKeyProcedureMarkerLabel) == kf::kOk) {
      const uint32_t uid = store.win.uid;
      store.win = r;
      store.win.uid = uid;
      if (file.Put() != kf::kOk) {
        failure = "writing UID " + std::to_string(uid) + ": " + kf::ErrorText();
        break;
      }
      ++replaced;
    } else {
      twiq::AddWithNewUid();
      if (!boxes.empty()) {
        failure = "adding a record: " + boxes.front();
        break;
      }
      ++added;
    }
  }
  twiq::SetMessageBoxHandler(std::move(previous));
  if (failure.empty() && file.Commit() != kf::kOk) failure = "commit: " + kf::ErrorText();
  if (!failure.empty()) {
    file.Rollback();
    file.Close();
    err << "twiqfile: " << options.file << ": nothing imported: " << failure << "\n";
    return kExitFailed;
  }
  file.Close();
  out << options.file << ": imported " << records.size() << " records of procedure \""
      << procedure->text << "\" (" << added << " added, " << replaced << " replaced)\n";
  return kExitOk;
}

}  // namespace twiqfile
