// The commands of twiqfile. Each writes its results to `out`, its complaints to `err`, and
// returns the tool's exit status (settings_access.h).
#ifndef TOOLS_TWIQFILE_COMMANDS_H_
#define TOOLS_TWIQFILE_COMMANDS_H_

#include <ostream>
#include <string>

namespace twiqfile {

struct CommonOptions {
  std::string file;
  std::string password;
};

// Every record as one JSON object per line, in the order of `key` ("uid", "label", "feq",
// "order", or a key's name such as "KEYPROCEDUREMARKERLABEL").
int Dump(const CommonOptions& options, const std::string& key, std::ostream& out,
         std::ostream& err);

// Checks record sizes, the keys against the records, duplicate UIDs, records with UID 0 and
// duplicate records of one control of a variant (the design-time originals included).
int Check(const CommonOptions& options, std::ostream& out, std::ostream& err);

// The records of `procedure` (every marker, or only `marker` when not empty) as one JSON
// document, without their UIDs.
int Export(const CommonOptions& options, const std::string& procedure, const std::string& marker,
           std::ostream& out, std::ostream& err);

// Adds the records of an exported document (`document` is its text; `source` names it in
// messages) to the file, all or none: a record whose procedure, marker and label are already
// in the file replaces it (keeping its UID); any other gets a new UID the way the library
// numbers records. `create`: a missing file is created first.
int Import(const CommonOptions& options, const std::string& document, const std::string& source,
           bool create, std::ostream& out, std::ostream& err);

}  // namespace twiqfile

#endif  // TOOLS_TWIQFILE_COMMANDS_H_
