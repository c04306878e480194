// twiqfile run as a program over settings files written through the library.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/keyfile/file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiq {
namespace {

namespace kf = rt::keyfile;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& name) {
  std::ifstream in(name);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

WinRecord Record(uint32_t uid, std::string_view procedure, std::string_view marker,
                 std::string_view label, int32_t x = 0) {
  WinRecord r;
  r.uid = uid;
  r.procedure_name = procedure;
  r.unique_marker = marker;
  r.control_label = label;
  r.description = DescriptionForLabel(label);
  r.x = x;
  return r;
}

class TwiqfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "twiqfile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Writes a settings file holding `records`, protected by `password` when not blank.
  void Write(const std::string& name, const std::vector<WinRecord>& records,
             const std::string& password = "") {
    SettingsFileNameVariable()->Set(Path(name));
    SettingsPasswordVariable()->Set(password);
    kf::File file(WinDeclaration());
    WinRecord buffer;
    file.Bind(RecordBytes(buffer));
    ASSERT_EQ(file.Create(), 0);
    ASSERT_EQ(file.Open(kf::kModeShared), 0);
    for (const WinRecord& r : records) {
      buffer = r;
      ASSERT_EQ(file.Add(), 0);
    }
  }

  // Runs `command` with the tool first in PATH.
  ToolRun Sh(const std::string& command) {
    const std::string out = Path("stdout"), err = Path("stderr");
    const std::string line = "PATH='" TWIQ_BUILD_DIR "/tools/twiqfile':\"$PATH\"; cd '" + dir_ +
                             "' && { " + command + "; } >'" + out + "' 2>'" + err + "'";
    ToolRun r;
    int raw = std::system(line.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(out);
    r.err = Slurp(err);
    return r;
  }

  std::vector<WinRecord> Sample() {
    return {Record(1, "Main", "TWIQ_ORIGINAL", "WINDOW"), Record(2, "Main", "FLAT", "WINDOW"),
            Record(3, "Main", "FLAT", "?ENTRY1", 40), Record(7, "Main", "ROUND", "?ENTRY1", 12),
            Record(9, "Other", "FLAT", "?BUTTON1")};
  }

  std::string dir_;
};

// A script checks the dump with standard tools: one object per line, 79 fields each, in the
// chosen key's order.
TEST_F(TwiqfileTest, DumpIsOneRecordPerLine) {
  Write("s.twiq", Sample());
  ToolRun r = Sh("twiqfile dump s.twiq | wc -l");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(std::stoi(r.out), 5);
  r = Sh("twiqfile dump s.twiq | head -1 | grep -o '\"[A-Z]*\":' | wc -l");
  EXPECT_EQ(std::stoi(r.out), 79);
  r = Sh("twiqfile dump s.twiq --key label | grep -o '\"UID\":[0-9]*' | tr '\\n' ' '");
  EXPECT_EQ(r.out, "\"UID\":3 \"UID\":2 \"UID\":7 \"UID\":1 \"UID\":9 ");
  r = Sh("twiqfile dump s.twiq | grep '\"UNIQUEMARKER\":\"FLAT\"' | grep -c '\"X\":40,'");
  EXPECT_EQ(r.out, "1\n");
  r = Sh("twiqfile dump s.twiq | head -1");
  EXPECT_EQ(r.out.rfind("{\"UID\":1,\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"TWIQ_ORIGINAL\","
                        "\"CONTROLLABEL\":\"WINDOW\",\"FEQ\":0,",
                        0),
            0u)
      << r.out;
}

TEST_F(TwiqfileTest, ClearErrorsAndExitStatus) {
  Write("protected.twiq", Sample(), "s3cret");
  {
    std::ofstream damaged(Path("damaged.twiq"));
    damaged << "this is not a settings file, only some text written over it\n";
  }
  struct Case {
    const char* command;
    int status;
    const char* in_stderr;
  } cases[] = {
      {"twiqfile dump missing.twiq", 3, "missing.twiq: no such settings file"},
      {"twiqfile dump protected.twiq", 3, "protected.twiq: wrong or missing password"},
      {"twiqfile --password wrong check protected.twiq", 3, "wrong or missing password"},
      {"twiqfile dump damaged.twiq", 3, "damaged.twiq: damaged or not a settings file"},
      {"twiqfile check damaged.twiq", 3, "damaged or not a settings file"},
      {"twiqfile frobnicate x", 2, "unknown command frobnicate"},
      {"twiqfile dump", 2, "usage: twiqfile dump FILE"},
      {"twiqfile dump protected.twiq --key colour", 2, "unknown key"},
      {"twiqfile --bogus dump x", 2, "unknown option --bogus"},
      {"twiqfile --password s3cret export protected.twiq Nobody", 4, "no records of procedure"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    ToolRun r = Sh(c.command);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.in_stderr), std::string::npos) << r.err;
  }
  ToolRun r = Sh("twiqfile --password s3cret dump protected.twiq | wc -l");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(std::stoi(r.out), 5);
  r = Sh("twiqfile --help");
  EXPECT_EQ(r.status, 0);
  for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS"}) {
    EXPECT_NE(("\n" + r.out).find(std::string("\n") + section + "\n"), std::string::npos)
        << section;
  }
}

TEST_F(TwiqfileTest, CheckReportsProblems) {
  Write("clean.twiq", Sample());
  ToolRun r = Sh("twiqfile check clean.twiq");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "clean.twiq: 5 records, 0 problems\n");

  std::vector<WinRecord> bad = Sample();
  bad.push_back(Record(12, "main", "twiq_original", "window  "));  // a second original
  bad.push_back(Record(0, "Main", "FLAT", "?ZERO"));
  bad.push_back(Record(13, "Main", "FLAT", "?ENTRY1"));  // a second record of one control
  Write("bad.twiq", bad);
  r = Sh("twiqfile check bad.twiq");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("bad.twiq: 1 record(s) with UID 0\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("bad.twiq: duplicate originals: procedure MAIN, label WINDOW (UIDs 1, "
                       "12)\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("duplicate records: procedure MAIN, marker FLAT, label ?ENTRY1 (UIDs 3, "
                       "13)\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("bad.twiq: 8 records, 3 problems\n"), std::string::npos) << r.out;
}

// Export one procedure's variants, import them elsewhere: new UIDs after the highest, the
// same fields; importing again replaces instead of duplicating; bad input imports nothing.
TEST_F(TwiqfileTest, ExportImportRoundTrip) {
  Write("from.twiq", Sample());
  Write("into.twiq",
        {Record(1, "Main", "X", "?A"), Record(2, "Main", "X", "?B"), Record(7, "Main", "X", "?C")});
  ToolRun r =
      Sh("twiqfile export from.twiq main > main.json && twiqfile import into.twiq main.json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "into.twiq: imported 4 records of procedure \"main\" (4 added, 0 replaced)\n");
  r =
      Sh("twiqfile dump into.twiq --key uid | grep -o '\"UID\":[0-9]*,\"PROCEDURENAME\":\"Main\","
         "\"UNIQUEMARKER\":\"[A-Z_]*\",\"CONTROLLABEL\":\"[A-Z?0-9]*\"'");
  EXPECT_EQ(r.out,
            "\"UID\":1,\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"X\",\"CONTROLLABEL\":\"?A\"\n"
            "\"UID\":2,\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"X\",\"CONTROLLABEL\":\"?B\"\n"
            "\"UID\":7,\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"X\",\"CONTROLLABEL\":\"?C\"\n"
            "\"UID\":8,\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"FLAT\",\"CONTROLLABEL\":"
            "\"?ENTRY1\"\n"
            "\"UID\":9,\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"FLAT\",\"CONTROLLABEL\":"
            "\"WINDOW\"\n"
            "\"UID\":10,\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"ROUND\",\"CONTROLLABEL\":"
            "\"?ENTRY1\"\n"
            "\"UID\":11,\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"TWIQ_ORIGINAL\","
            "\"CONTROLLABEL\":\"WINDOW\"\n");
  // Records equal apart from their UIDs.
  r =
      Sh("twiqfile export into.twiq Main --marker flat | tail -n +2 > a && "
         "twiqfile export from.twiq Main --marker FLAT | tail -n +2 > b && cmp a b");
  EXPECT_EQ(r.status, 0) << r.out << r.err;

  r = Sh("twiqfile import into.twiq main.json && twiqfile check into.twiq");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("(0 added, 4 replaced)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("into.twiq: 7 records, 0 problems"), std::string::npos) << r.out;

  struct Bad {
    const char* name;
    std::string edit;  // sed expression applied to main.json
    const char* in_stderr;
  } bad[] = {
      {"text too long", "s/\"TIP\":\"\"/\"TIP\":\"" + std::string(300, 'x') + "\"/",
       "field \"TIP\" is longer than its 256 characters"},
      {"unknown field", "s/\"TIP\":/\"TOOLTIP\":/", "unknown field \"TOOLTIP\""},
      {"number out of range", "s/\"X\":40/\"X\":4000000000/", "field \"X\" must be a whole"},
      {"other procedure",
       "s/\"PROCEDURENAME\":\"Main\",\"UNIQUEMARKER\":\"ROUND\"/"
       "\"PROCEDURENAME\":\"Side\",\"UNIQUEMARKER\":\"ROUND\"/",
       "is not the exported procedure"},
      {"not JSON", "s/\\]}/]/", "not JSON: line"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    r = Sh("sed '" + b.edit +
           "' main.json > bad.json && "
           "twiqfile import into.twiq bad.json");
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find(b.in_stderr), std::string::npos) << r.err;
    EXPECT_EQ(Sh("twiqfile dump into.twiq | wc -l").out, "7\n");
  }
  r = Sh("twiqfile import new.twiq main.json");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("--create"), std::string::npos);
  r = Sh("twiqfile import new.twiq - --create < main.json && twiqfile dump new.twiq | wc -l");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(r.out.rfind(')') + 2), "4\n");
}

// Text with bytes from 80h up survives an export and an import unchanged.
TEST_F(TwiqfileTest, EightBitTextRoundTrips) {
  WinRecord r = Record(1, "Main", "FLAT", "?ENTRY1");
  r.control_text =
      "Gr\xfc\xdf"
      "e \"quoted\" back\\slash";
  Write("from.twiq", {r});
  ToolRun run =
      Sh("twiqfile export from.twiq Main > e.json && twiqfile import into.twiq e.json "
         "--create && twiqfile dump into.twiq");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"CONTROLTEXT\":\"Gr\\u00fc\\u00dfe \\\"quoted\\\" back\\\\slash\""),
            std::string::npos)
      << run.out;
  SettingsFileNameVariable()->Set(Path("into.twiq"));
  SettingsPasswordVariable()->Set("");
  kf::File file(WinDeclaration());
  WinRecord buffer;
  file.Bind(RecordBytes(buffer));
  ASSERT_EQ(file.Open(kf::kModeShared), 0);
  file.Set(kKeyUid);
  ASSERT_EQ(file.Next(), 0);
  EXPECT_EQ(buffer.control_text, r.control_text);
}

}  // namespace
}  // namespace twiq
