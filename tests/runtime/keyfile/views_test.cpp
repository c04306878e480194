// Views: filter expressions, key ranges, positions, and the file they read into.

#include <cctype>

#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/names.h"
#include "runtime/keyfile/text.h"
#include "runtime/keyfile/view.h"
#include "tests/runtime/keyfile/keyfile_test_util.h"

namespace rt::keyfile::testing {
namespace {

class ViewsTest : public KeyfileTest {
 protected:
  void SetUp() override {
    KeyfileTest::SetUp();
    file_ = std::make_unique<File>(CreateOpen());
    names_.BindRecord(file_->declaration(), file_->RecordBlock());
    names_.Bind("LOC:Proc", Variable::Text(proc_, sizeof(proc_)));
    names_.Bind("LOC:Marker", Variable::Text(marker_, sizeof(marker_)));
    names_.Bind("LOC:Count", Variable::Of(count_));
    SetVariable(proc_, "main");
    SetVariable(marker_, "flat");
  }

  static void SetVariable(char (&var)[20], const std::string& value) {
    std::string padded = value;
    padded.resize(sizeof(var), ' ');
    std::copy(padded.begin(), padded.end(), var);
  }

  void Add(const std::vector<TestRecord>& records) {
    ASSERT_EQ(file_->Begin(2), kOk);
    for (const TestRecord& r : records) {
      Store(*file_, r);
      ASSERT_EQ(file_->Add(), kOk) << DriverError();
    }
    ASSERT_EQ(file_->Commit(), kOk);
  }

  // UIDs read through `view` from its start.
  std::vector<std::int64_t> Read(View& view, bool forward = true) {
    std::vector<std::int64_t> uids;
    EXPECT_EQ(view.Set(), kOk);
    while ((forward ? view.Next() : view.Previous()) == kOk) uids.push_back(Number(*file_, kUid));
    EXPECT_EQ(ErrorCode(), kRecordNotAvailable) << DriverError();
    return uids;
  }

  std::unique_ptr<File> file_;
  NameTable names_;
  char proc_[20];
  char marker_[20];
  std::int32_t count_ = 7;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

struct FilterCase {
  const char* filter;
  std::vector<std::int64_t> expected;  // UIDs in the order of the label key.
};

TEST_F(ViewsTest, FiltersSelectAndKeyRangesNarrowOnlyWhereSound) {
  Add({{1, "Main", "FLAT", "a", 1, "it's"},
       {2, "MAIN", "flat", "B", 2, ""},
       {3, "main", "Flat", "c", 3, ""},
       {4, "Main", "COLORS", "a", 4, ""},
       {5, "Other", "FLAT", "a", 5, ""},
       {6, "Main", "FLAT", "05", 6, ""},
       {7, "Main", "FLAT", "5", 7, ""}});
  const FilterCase cases[] = {
      {"", {4, 6, 7, 1, 2, 3, 5}},
      {"UPPER(REC:PROC) = UPPER(LOC:Proc) AND UPPER(REC:MARKER) = UPPER(LOC:Marker)",
       {6, 7, 1, 2, 3}},
      // Without UPPER the comparison is case-sensitive; trailing spaces never count.
      {"REC:PROC = 'Main' AND REC:MARKER = 'FLAT  '", {6, 7, 1}},
      // A number compares numerically: "05" and "5" both equal 5.
      {"REC:PROC = 'Main' AND REC:MARKER = 'FLAT' AND REC:LABEL = 5", {6, 7}},
      {"REC:PROC = 'Main' OR REC:PROC = 'Other'", {4, 6, 7, 1, 5}},
      {"NOT UPPER(REC:MARKER) = 'FLAT'", {4}},
      {"UPPER(REC:PROC) = 'MAIN' AND UPPER(REC:MARKER) = 'FLAT' AND REC:FEQ > 2", {6, 7, 3}},
      {"UPPER(REC:PROC) = 'main'", {}},
      {"REC:FEQ > 1 AND REC:FEQ < 3 OR REC:FEQ = 5", {2, 5}},  // AND binds closer than OR.
      {"REC:FEQ > 1 AND (REC:FEQ < 3 OR REC:FEQ = 5)", {2, 5}},
      {"REC:FEQ >= 6 AND NOT (REC:FEQ <> 7)", {7}},
      {"REC:FEQ <= -(-2)", {1, 2}},
      {"REC:FEQ = LOC:Count", {7}},
      {"CLIP(REC:TEXT) = 'it''s'", {1}},
      {"UPPER(REC:LABEL) = 'B' AND REC:FEQ = '2'", {2}},
  };
  for (const FilterCase& c : cases) {
    View view(*file_, kKeyLabel, &names_);
    ASSERT_EQ(view.SetFilter(c.filter), kOk) << c.filter << ": " << DriverError();
    ASSERT_EQ(view.Open(), kOk) << c.filter;
    EXPECT_EQ(Read(view), c.expected) << c.filter;
    std::vector<std::int64_t> backward(c.expected.rbegin(), c.expected.rend());
    EXPECT_EQ(Read(view, false), backward) << c.filter;
  }
}

TEST_F(ViewsTest, FiltersThatDoNotParseAreRefusedWithTheirColumn) {
  const char* bad[] = {"REC:FEQ >",
                       "UPPER(REC:PROC",
                       "REC:TEXT = 'abc",
                       "REC:FEQ == 1",
                       "NOSUCH:NAME = 1",
                       "REC:FEQ = #",
                       "AND",
                       "UPPER REC:PROC",
                       "(REC:FEQ = 1))",
                       "REC:FEQ = 1 REC:FEQ",
                       "REC:FEQ + 1 = 2"};
  for (const char* filter : bad) {
    View view(*file_, kKeyLabel, &names_);
    EXPECT_EQ(view.SetFilter(filter), kBadFilter) << filter;
    EXPECT_EQ(ErrorCode(), kBadFilter);
    EXPECT_EQ(ErrorText(), "Invalid filter expression");
    EXPECT_NE(DriverError().find("column"), std::string::npos) << filter << ": " << DriverError();
    EXPECT_EQ(view.Open(), kBadFilter) << "a view with a bad filter does not open";
    EXPECT_EQ(view.Next(), kFileNotOpen);
  }
  View view(*file_, kKeyLabel, &names_);
  EXPECT_EQ(view.SetFilter("NOSUCH = 1"), kBadFilter);
  EXPECT_NE(DriverError().find("unknown name 'NOSUCH'"), std::string::npos) << DriverError();
  names_.Unbind("LOC:Marker");
  EXPECT_EQ(view.SetFilter("REC:MARKER = LOC:Marker"), kBadFilter) << "unbound names are unknown";
  EXPECT_EQ(view.SetProperty(kPropViewFilter, "REC:MARKER = 'x'"), kOk);
  EXPECT_EQ(view.GetProperty(kPropViewFilter), "REC:MARKER = 'x'");
  EXPECT_EQ(view.Open(), kOk);
}

TEST_F(ViewsTest, PagesOfOneVariantInLabelOrderWithPositions) {
  std::vector<TestRecord> records;
  std::uint32_t uid = 1;
  for (const char* proc : {"Main", "Other"}) {
    for (const char* marker : {"FLAT", "COLORS"}) {
      for (int i = 40; i >= 1; --i) {
        // Stored in mixed letter case: the key and UPPER() ignore it.
        records.push_back({uid++, i % 2 ? proc : UpperText(proc),
                           i % 3 ? std::string(marker) : Lower(marker),
                           "L" + std::string(i < 10 ? "0" : "") + std::to_string(i), i, ""});
      }
    }
  }
  Add(records);
  View view(*file_, kKeyLabel, &names_);
  ASSERT_EQ(view.SetFilter("UPPER(REC:PROC) = UPPER(LOC:Proc) AND "
                           "UPPER(REC:MARKER) = UPPER(LOC:Marker)"),
            kOk);
  ASSERT_EQ(view.SetReadAhead(10), kOk);
  ASSERT_EQ(view.Open(), kOk);
  std::vector<std::string> labels;
  std::string position_of_l10;
  ASSERT_EQ(view.Set(), kOk);
  while (view.Next() == kOk) {
    labels.push_back(Clipped(*file_, kLabel));
    if (labels.back() == "L10") position_of_l10 = view.Position();
  }
  ASSERT_EQ(labels.size(), 40u);
  EXPECT_EQ(labels.front(), "L01");
  EXPECT_EQ(labels.back(), "L40");
  ASSERT_FALSE(position_of_l10.empty());
  EXPECT_LE(position_of_l10.size(), 1024u);

  // Reset to a row's position, then read on in either direction from it.
  ASSERT_EQ(view.Reset(position_of_l10), kOk);
  ASSERT_EQ(view.Next(), kOk);
  EXPECT_EQ(Clipped(*file_, kLabel), "L10");
  EXPECT_EQ(view.Position(), position_of_l10) << "the same record gives the same position";
  ASSERT_EQ(view.Next(), kOk);
  EXPECT_EQ(Clipped(*file_, kLabel), "L11");
  ASSERT_EQ(view.Reset(position_of_l10), kOk);
  ASSERT_EQ(view.Previous(), kOk);
  EXPECT_EQ(Clipped(*file_, kLabel), "L10");
  ASSERT_EQ(view.Previous(), kOk);
  EXPECT_EQ(Clipped(*file_, kLabel), "L09");
  ASSERT_EQ(view.Reget(position_of_l10), kOk);
  EXPECT_EQ(Clipped(*file_, kLabel), "L10");
  EXPECT_EQ(view.Reset(file_->Position(kKeyUid)), kRecordNotFound) << "another key's position";

  // The view starts where the file was positioned in its key; Set() goes to its start.
  Store(*file_, {0, "MAIN", "FLAT", "L15", 0, ""});
  ASSERT_EQ(file_->SetToValue(kKeyLabel), kOk);
  ASSERT_EQ(view.Open(), kOk);
  ASSERT_EQ(view.Next(), kOk);
  EXPECT_EQ(Clipped(*file_, kLabel), "L15");
  ASSERT_EQ(view.Set(), kOk);
  ASSERT_EQ(view.Previous(), kOk);
  EXPECT_EQ(Clipped(*file_, kLabel), "L40");

  // Values bound to the filter are taken when the view opens.
  SetVariable(marker_, "colors");
  ASSERT_EQ(view.Open(), kOk);
  ASSERT_EQ(view.Set(), kOk);
  int colors = 0;
  while (view.Next() == kOk) {
    EXPECT_EQ(UpperText(Clipped(*file_, kMarker)), "COLORS");
    ++colors;
  }
  EXPECT_EQ(colors, 40);
}

TEST_F(ViewsTest, AViewReadMakesTheFilesCurrentRecord) {
  Add({{1, "Main", "FLAT", "a", 0, "first"}, {2, "Main", "FLAT", "b", 0, "second"}});
  View view(*file_, kKeyLabel, &names_);
  ASSERT_EQ(view.SetReadAhead(5), kOk);
  ASSERT_EQ(view.Open(), kOk);
  ASSERT_EQ(view.Next(), kOk);  // Reads both ahead.

  // A change made through the file is what the view reads next.
  Store(*file_, {2, "", "", "", 0, ""});
  ASSERT_EQ(file_->Get(kKeyUid), kOk);
  WriteText(file_->RecordBlock(), file_->declaration().fields[kText], "changed");
  ASSERT_EQ(file_->Put(), kOk);
  ASSERT_EQ(view.Next(), kOk);
  EXPECT_EQ(Clipped(*file_, kText), "changed");

  // The record read through the view is the file's current record; a watch
  // armed through the view sees another station's change.
  const std::string position = view.Position();
  ASSERT_EQ(view.Watch(), kOk);
  ASSERT_EQ(view.Reget(position), kOk);
  File other(Declaration());
  ASSERT_EQ(other.Open(kModeShared), kOk);
  Store(other, {2, "", "", "", 0, ""});
  ASSERT_EQ(other.Get(kKeyUid), kOk);
  ASSERT_EQ(other.Put(), kOk);
  EXPECT_EQ(file_->Put(), kRecordChanged);

  ASSERT_EQ(view.Close(), kOk);
  EXPECT_EQ(view.Next(), kFileNotOpen);
  ASSERT_EQ(view.Open(), kOk);
  file_->Close();
  EXPECT_EQ(view.Next(), kFileNotOpen) << "the view's file is closed";
}

}  // namespace
}  // namespace rt::keyfile::testing
