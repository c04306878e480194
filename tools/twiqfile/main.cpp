// twiqfile: a command-line tool over settings files, for administrators and for tests.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/twiqfile/commands.h"
#include "tools/twiqfile/settings_access.h"

namespace {

constexpr const char* kHelp = R"(NAME
    twiqfile - inspect, check, export and import Twiq settings files

SYNOPSIS
    twiqfile [--password PASSWORD] dump FILE [--key KEY]
    twiqfile [--password PASSWORD] check FILE
    twiqfile [--password PASSWORD] export FILE PROCEDURE [--marker MARKER]
    twiqfile [--password PASSWORD] import FILE EXPORT [--create]
    twiqfile --help

DESCRIPTION
    A settings file holds the customisations that the users of a host program made to its
    windows: one record of 79 fields per control (or window) and window variant, named by
    the host procedure, the variant's marker and the control's label. twiqfile reads and
    writes such files alongside running programs; it opens them shared, as the library does.

COMMANDS
    dump FILE [--key KEY]
        Writes every record as one JSON object per line, all 79 fields by name ("UID",
        "PROCEDURENAME", "UNIQUEMARKER", "CONTROLLABEL", ...), text without its trailing
        spaces, in the order of KEY: uid (the default), label (procedure, marker, label),
        feq (procedure, marker, field equate) or order (procedure, marker, tab order).
        Bytes from 80h up are written as \u00XX, so the output is ASCII.

    check FILE
        Reads every record and reports, one line each: records of the wrong size, keys that
        do not list every record once or are out of order, records with UID 0, UIDs used
        twice, and controls with more than one record in one variant (for the design-time
        marker TWIQ_ORIGINAL: "duplicate originals"). Ends with a line giving the number of
        records and problems.

    export FILE PROCEDURE [--marker MARKER]
        Writes the records of PROCEDURE (all its variants, or only MARKER) as one JSON
        document: {"format":"twiqfile export","version":1,"procedure":...,"records":[...]},
        one record per line, without UIDs. Procedure and marker match regardless of case.

    import FILE EXPORT [--create]
        Adds the records of an exported document (EXPORT is a file name, or - for standard
        input) in one transaction: all or nothing. A record whose procedure, marker and label
        are already in the file replaces that record and keeps its UID; any other record gets
        a new UID, the highest in the file plus one, as the library numbers records. Every
        record is checked first: unknown fields, text longer than its field, numbers out of
        range and a procedure other than the document's are refused. --create creates FILE
        when it does not exist.

OPTIONS
    --password PASSWORD
        The password protecting the file. Without it the file is opened as unprotected.
    --key KEY
        The order of dump (uid, label, feq, order, or a key's name such as ORDERKEY).
    --marker MARKER
        Export only the variant MARKER.
    --create
        Let import create a missing file.
    --help
        Show this text.

EXIT STATUS
    0   success; for check: no problems
    1   check found problems
    2   bad command line
    3   the file cannot be opened or read: missing, wrong or missing password, damaged,
        locked by another program, or its keys must be rebuilt
    4   export or import could not be completed (nothing was imported)

EXAMPLES
    twiqfile dump /opt/app/demo.twiq --key label | grep '"UNIQUEMARKER":"FLAT"'
    twiqfile check /opt/app/demo.twiq
    twiqfile --password s3cret export demo.twiq Main --marker FLAT > flat.json
    twiqfile import other.twiq flat.json
)";

int Usage(const std::string& problem) {
  std::cerr << "twiqfile: " << problem << "\n"
            << "Usage: twiqfile [--password PASSWORD] dump|check|export|import FILE ...\n"
            << "Try 'twiqfile --help' for more information.\n";
  return twiqfile::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  twiqfile::CommonOptions common;
  std::string key = "uid", marker;
  bool create = false;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      std::cout << kHelp;
      return twiqfile::kExitOk;
    } else if (arg == "--password") {
      if (!value(common.password)) return Usage("--password needs a value");
    } else if (arg == "--key") {
      if (!value(key)) return Usage("--key needs a value");
    } else if (arg == "--marker") {
      if (!value(marker)) return Usage("--marker needs a value");
    } else if (arg == "--create") {
      create = true;
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      return Usage("unknown option " + arg);
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) return Usage("no command given");
  const std::string command = words[0];
  auto expect = [&](size_t count, const char* form) {
    if (words.size() != count) {
      Usage(std::string("usage: twiqfile ") + form);
      return false;
    }
    return true;
  };
  if (command == "dump") {
    if (!expect(2, "dump FILE [--key KEY]")) return twiqfile::kExitUsage;
    common.file = words[1];
    return twiqfile::Dump(common, key, std::cout, std::cerr);
  }
  if (command == "check") {
    if (!expect(2, "check FILE")) return twiqfile::kExitUsage;
    common.file = words[1];
    return twiqfile::Check(common, std::cout, std::cerr);
  }
  if (command == "export") {
    if (!expect(3, "export FILE PROCEDURE [--marker MARKER]")) return twiqfile::kExitUsage;
    common.file = words[1];
    return twiqfile::Export(common, words[2], marker, std::cout, std::cerr);
  }
  if (command == "import") {
    if (!expect(3, "import FILE EXPORT [--create]")) return twiqfile::kExitUsage;
    common.file = words[1];
    std::stringstream text;
    if (words[2] == "-") {
      text << std::cin.rdbuf();
    } else {
      std::ifstream in(words[2], std::ios::binary);
      if (!in) {
        std::cerr << "twiqfile: " << words[2] << ": cannot be read\n";
        return twiqfile::kExitFailed;
      }
      text << in.rdbuf();
    }
    return twiqfile::Import(common, text.str(), words[2] == "-" ? "standard input" : words[2],
                            create, std::cout, std::cerr);
  }
  return Usage("unknown command " + command);
}
