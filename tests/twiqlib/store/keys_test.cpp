// Key lookups over a real settings file: the string components of the composite keys compare
// without regard to case, and trailing spaces never count.
#include <gtest/gtest.h>

#include "runtime/keyfile/errors.h"
#include "tests/twiqlib/store/store_fixture.h"
#include "twiqlib/store/settings_file.h"

namespace twiq {
namespace {

namespace kf = rt::keyfile;
using testing::MakeRecord;

class KeysTest : public testing::StoreFileTest {
 protected:
  void SetUp() override {
    StoreFileTest::SetUp();
    std::vector<WinRecord> records = {
        MakeRecord("Main", "FLAT", "WINDOW", 0), MakeRecord("Main", "FLAT", "?ENTRY1", 3),
        MakeRecord("Main", "Round", "WINDOW", 0), MakeRecord("Other", "FLAT", "WINDOW", 0),
        MakeRecord("Main", "FLAT", "?BUTTON2", 2)};
    for (size_t i = 0; i < records.size(); ++i) records[i].uid = static_cast<uint32_t>(i + 1);
    Seed(records);
  }
};

TEST_F(KeysTest, LookupsIgnoreCaseAndTrailingSpaces) {
  struct Case {
    int key;
    const char* procedure;
    const char* marker;
    const char* label;
    int32_t feq;
    int rc;
    uint32_t uid;  // of the record found
  } cases[] = {
      {kKeyProcedureMarkerLabel, "main", "flat", "window", 0, kf::kOk, 1},
      {kKeyProcedureMarkerLabel, "MAIN   ", "Flat  ", "Window   ", 0, kf::kOk, 1},
      {kKeyProcedureMarkerLabel, "main", "flat", "?entry1", 0, kf::kOk, 2},
      {kKeyProcedureMarkerLabel, "main", "round", "WINDOW", 0, kf::kOk, 3},
      {kKeyProcedureMarkerLabel, "other", "flat", "window", 0, kf::kOk, 4},
      {kKeyProcedureMarkerLabel, "main", "flat", "?entry", 0, kf::kRecordNotFound, 0},
      {kKeyProcedureMarkerLabel, "main", "square", "window", 0, kf::kRecordNotFound, 0},
      {kKeyProcedureMarkerFeq, "main", "flat", "", 0, kf::kOk, 1},
      {kKeyProcedureMarkerFeq, "main  ", "FLAT", "", 2, kf::kOk, 5},
      {kKeyProcedureMarkerFeq, "main", "flat", "", 9, kf::kRecordNotFound, 0},
  };
  ScopedSettingsFile held;
  WinRecord& win = Store().win;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.procedure) + "/" + c.marker + "/" + c.label + "/" +
                 std::to_string(c.feq));
    ClearRecord(win);
    win.procedure_name = c.procedure;
    win.unique_marker = c.marker;
    win.control_label = c.label;
    win.feq = c.feq;
    ASSERT_EQ(Store().win_file.Get(c.key), c.rc);
    if (c.rc == kf::kOk) {
      EXPECT_EQ(win.uid, c.uid);
    }
  }
}

// The tab-order key lists one variant in ORDER, whatever the case of the lookup.
TEST_F(KeysTest, OrderKeyListsAVariant) {
  ScopedSettingsFile held;
  WinRecord& win = Store().win;
  ClearRecord(win);
  win.procedure_name = "MAIN";
  win.unique_marker = "flat";
  win.order = 0;
  kf::File& file = Store().win_file;
  ASSERT_EQ(file.SetToValue(kOrderKey), 0);
  std::vector<std::string> labels;
  while (file.Next() == 0 && win.unique_marker.SameAs("FLAT") &&
         win.procedure_name.SameAs("main")) {
    labels.push_back(win.control_label.str());
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"WINDOW", "?BUTTON2", "?ENTRY1"}));
}

}  // namespace
}  // namespace twiq
