#include "twiqlib/store/add_with_new_uid.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <limits>
#include <set>
#include <string>
#include <vector>

#include "runtime/keyfile/errors.h"
#include "tests/twiqlib/store/message_box_script.h"
#include "tests/twiqlib/store/store_fixture.h"
#include "twiqlib/store/settings_file.h"

namespace twiq {
namespace {

namespace kf = rt::keyfile;
using testing::MakeRecord;
using testing::MessageBoxScript;

class AddWithNewUidTest : public testing::StoreFileTest {
 protected:
  std::vector<WinRecord> WithUids(const std::vector<uint32_t>& uids) {
    std::vector<WinRecord> out;
    for (uint32_t uid : uids) {
      out.push_back(MakeRecord("Main", "FLAT", "?C" + std::to_string(uid)));
      out.back().uid = uid;
    }
    return out;
  }
};

TEST_F(AddWithNewUidTest, NextUidIsHighestPlusOne) {
  struct Case {
    std::vector<uint32_t> existing;
    uint32_t expected;
  } cases[] = {{{}, 1}, {{1, 2, 7}, 8}, {{7, 2, 1}, 8}, {{0x7FFFFFFFu}, 0x80000000u}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    RemoveFile();
    Seed(WithUids(c.existing));
    MessageBoxScript boxes;
    ScopedSettingsFile held;
    Store().win = MakeRecord("Main", "FLAT", "?TESTENTRY", 4);
    const WinRecord added_fields = Store().win;
    EXPECT_EQ(AddWithNewUid(), 0);
    EXPECT_EQ(Store().win.uid, c.expected);
    WinRecord expected = added_fields;
    expected.uid = c.expected;
    EXPECT_TRUE(SameRecord(Store().win, expected)) << "the buffer holds the record as added";
    EXPECT_TRUE(boxes.shown().empty());
    std::vector<WinRecord> all = ReadAll();
    ASSERT_EQ(all.size(), c.existing.size() + 1);
    EXPECT_TRUE(SameRecord(all.back(), expected));
  }
}

// Adds that keep failing: warning 25 after every third attempt; Retry tries three more,
// Cancel ends with "Record Can't be created!" and nothing is added.
TEST_F(AddWithNewUidTest, RepeatedFailuresAskAndGiveUp) {
  struct Case {
    const char* name;
    std::vector<uint32_t> existing;
    int mode;  // how the thread's handle is opened
  } cases[] = {
      {"read-only handle", {3}, 0x40},
      {"no UID left", {std::numeric_limits<uint32_t>::max()}, kf::kModeShared},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveFile();
    Seed(WithUids(c.existing));
    ASSERT_EQ(Store().win_file.Open(c.mode), 0);
    MessageBoxScript boxes({kButtonRetry, kButtonCancel, kButtonOk});
    Store().win = MakeRecord("Main", "FLAT", "?NEW");
    EXPECT_EQ(AddWithNewUid(), 0);
    Store().win_file.Close();
    std::vector<MessageBoxRequest> shown = boxes.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].caption, "Auto Increment Error");
    EXPECT_EQ(shown[1].caption, "Auto Increment Error");
    EXPECT_EQ(shown[2].text, "Record Can't be created!");
    EXPECT_EQ(ReadAll().size(), c.existing.size());
  }
}

// Reading the highest UID fails (the file is not open): warning 35, nothing added.
TEST_F(AddWithNewUidTest, UnreadableFileIsReported) {
  MessageBoxScript boxes;
  Store().win = MakeRecord("Main", "FLAT", "?NEW");
  EXPECT_EQ(AddWithNewUid(), 0);
  std::vector<MessageBoxRequest> shown = boxes.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Record Retrieval Error");
  EXPECT_EQ(shown[0].text,
            "Error: (File not open (37)) attempting to access a record from the WindowControls "
            "file.  Returning to previous window.");
  EXPECT_EQ(Store().win.control_label, "?NEW");
}

// Two processes adding at the same moment never get the same UID and lose no record.
TEST_F(AddWithNewUidTest, TwoProcessesRaceForUids) {
  constexpr int kPerProcess = 40;
  Seed({});
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      close(go[1]);
      MessageBoxScript boxes;
      SettingsFileHold hold;
      OpenSettingsFile(hold);
      char c;
      if (read(go[0], &c, 1) != 0) _exit(10);  // wait until the parent closes the pipe
      for (int i = 0; i < kPerProcess; ++i) {
        Store().win =
            MakeRecord("Main", "RACE", "?P" + std::to_string(p) + "_" + std::to_string(i));
        AddWithNewUid();
      }
      ReleaseSettingsFile(hold);
      _exit(boxes.shown().empty() ? 0 : 11);
    }
  }
  close(go[0]);
  close(go[1]);  // both start now
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }
  std::vector<WinRecord> all = ReadAll();
  ASSERT_EQ(all.size(), 2u * kPerProcess);
  std::set<uint32_t> uids;
  std::set<std::string> labels;
  for (const WinRecord& r : all) {
    const uint32_t uid = r.uid;  // a copy: numeric fields may lie at odd addresses
    uids.insert(uid);
    labels.insert(r.control_label.str());
  }
  EXPECT_EQ(uids.size(), all.size());
  EXPECT_EQ(labels.size(), all.size());
  EXPECT_EQ(*uids.begin(), 1u);
  EXPECT_EQ(*uids.rbegin(), 2u * kPerProcess) << "no UID skipped";
}

}  // namespace
}  // namespace twiq
