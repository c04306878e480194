#include "twiqlib/store/record_update.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "runtime/keyfile/errors.h"
#include "tests/twiqlib/store/message_box_script.h"
#include "tests/twiqlib/store/store_fixture.h"
#include "twiqlib/store/settings_file.h"

namespace twiq {
namespace {

namespace kf = rt::keyfile;
using testing::MakeRecord;
using testing::MessageBoxScript;

class RecordUpdateTest : public testing::StoreFileTest {
 protected:
  void SetUp() override {
    StoreFileTest::SetUp();
    WinRecord r = MakeRecord("Main", "FLAT", "?ENTRY1", 3);
    r.uid = 1;
    r.x = 10;
    WinRecord other = MakeRecord("Main", "FLAT", "?ENTRY2", 4);
    other.uid = 2;
    Seed({r, other});
    OpenSettingsFile(hold_);
  }
  void TearDown() override {
    ReleaseSettingsFile(hold_);
    StoreFileTest::TearDown();
  }

  // Reads record `uid` into the thread's WIN buffer, under the change check when `watch`.
  void Read(uint32_t uid, bool watch = false) {
    if (watch) Store().win_file.Watch();
    Store().win.uid = uid;
    ASSERT_EQ(Store().win_file.Get(kKeyUid), 0);
  }

  // Another station (a thread with its own handle) changes record `uid`'s x.
  void ChangeElsewhere(uint32_t uid, int32_t x) {
    std::thread other([&] {
      ScopedSettingsFile held;
      Store().win.uid = uid;
      ASSERT_EQ(Store().win_file.Get(kKeyUid), 0);
      Store().win.x = x;
      ASSERT_EQ(UpdateWinRecord(1), kRecordWritten);
    });
    other.join();
  }

  int32_t StoredX(uint32_t uid) {
    for (const WinRecord& r : ReadAll()) {
      if (r.uid == uid) return r.x;
    }
    return -1;
  }

  SettingsFileHold hold_;
};

TEST_F(RecordUpdateTest, WritesAndDeletes) {
  MessageBoxScript boxes;
  Read(1);
  Store().win.x = 42;
  EXPECT_EQ(UpdateWinRecord(1), kRecordWritten);
  EXPECT_EQ(StoredX(1), 42);
  Read(2);
  EXPECT_EQ(DeleteWinRecord(), kRecordWritten);
  EXPECT_EQ(ReadAll().size(), 1u);
  EXPECT_TRUE(boxes.shown().empty());
}

// A conflict gives result 2 with the other station's version in the buffer; the change
// check is armed by the re-read, so writing the user's values again succeeds.
TEST_F(RecordUpdateTest, ConflictShowsTheStoredVersionThenSucceeds) {
  struct Case {
    uint8_t flag;
    const char* caption;
    const char* text;
  } cases[] = {
      {1, "Record Was Not Updated",
       "This record was changed by another station. Those changes will now be displayed. Use "
       "the Ditto Button or Ctrl+' to recall your changes."},
      {0, "Update Operation Error", "This record was changed by another station."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    Read(1, /*watch=*/true);
    ChangeElsewhere(1, 77);
    MessageBoxScript boxes;
    Store().win.x = 55;
    EXPECT_EQ(UpdateWinRecord(c.flag), kRecordChanged);
    EXPECT_EQ(Store().win.x, 77) << "the buffer holds the other station's version";
    EXPECT_EQ(StoredX(1), 77);
    std::vector<MessageBoxRequest> shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, c.caption);
    EXPECT_EQ(shown[0].text, c.text);
    EXPECT_EQ(PeekKeptFileError().code, 0) << "the warning consumed the kept error";

    Store().win.x = 55;  // the user recalls their values
    EXPECT_EQ(UpdateWinRecord(c.flag), kRecordWritten);
    EXPECT_EQ(StoredX(1), 55);
    // The check stays armed: a further change elsewhere is caught again.
    ChangeElsewhere(1, 78);
    Store().win.x = 56;
    EXPECT_EQ(UpdateWinRecord(c.flag), kRecordChanged);
    EXPECT_EQ(Store().win.x, 78);
  }
}

// A delete the driver refuses (the record went since it was read) reports warning 17, and
// nothing else is deleted in its place.
TEST_F(RecordUpdateTest, RefusedDeleteIsReported) {
  Read(2);
  std::thread other([] {
    ScopedSettingsFile held;
    Store().win.uid = 2;
    ASSERT_EQ(Store().win_file.Get(kKeyUid), 0);
    ASSERT_EQ(DeleteWinRecord(), kRecordWritten);
  });
  other.join();
  MessageBoxScript boxes;
  EXPECT_EQ(DeleteWinRecord(), kRecordFailed);
  std::vector<MessageBoxRequest> shown = boxes.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Delete Operation Error");
  EXPECT_EQ(shown[0].text,
            "An error (Record not found (35)) was experienced when attempting to delete a "
            "record from the file WindowControls.");
  ASSERT_EQ(ReadAll().size(), 1u);
  EXPECT_EQ(ReadAll()[0].uid, 1u);
}

// The delete acts on the record as stored: a version changed by another station since it
// was read is deleted, not refused.
TEST_F(RecordUpdateTest, DeleteRereadsTheStoredVersion) {
  Read(1, /*watch=*/true);
  ChangeElsewhere(1, 91);
  MessageBoxScript boxes;
  EXPECT_EQ(DeleteWinRecord(), kRecordWritten);
  EXPECT_EQ(Store().win.x, 91) << "the buffer holds the version that was deleted";
  EXPECT_EQ(ReadAll().size(), 1u);
  EXPECT_TRUE(boxes.shown().empty());
}

// Another station holds a transaction for 3 seconds: the update and the delete give up
// after their 2 seconds with warning 34, and nothing is written or deleted.
TEST_F(RecordUpdateTest, ForeignTransactionGivesFramingWarning) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    kf::File holder(WinDeclaration());
    WinRecord buffer;
    holder.Bind(RecordBytes(buffer));
    char c = 'n';
    if (holder.Open(kf::kModeShared) == 0 && holder.Begin(1) == 0) c = 'y';
    (void)!write(ready[1], &c, 1);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    holder.Rollback();
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  MessageBoxScript boxes;
  Read(1);
  Store().win.x = 99;
  EXPECT_EQ(UpdateWinRecord(1), kRecordFailed);
  EXPECT_EQ(Store().win.x, 99) << "buffer unchanged";
  std::vector<MessageBoxRequest> shown = boxes.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Transaction Framing Error");
  EXPECT_EQ(shown[0].text,
            "Error: (File is locked (32)) attempting to frame the update transaction on "
            "WindowControls.  Update transaction cancelled.");
  EXPECT_EQ(StoredX(1), 10);
  int status = 0;
  waitpid(child, &status, 0);
  close(ready[0]);
  close(ready[1]);
  EXPECT_EQ(UpdateWinRecord(1), kRecordWritten) << "once the other station has finished";
  EXPECT_EQ(StoredX(1), 99);
}

}  // namespace
}  // namespace twiq
