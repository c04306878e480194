// Several processes (stations) on one file.

#include <chrono>
#include <thread>

#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/file.h"
#include "tests/runtime/keyfile/keyfile_test_util.h"

namespace rt::keyfile::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

class StationsTest : public KeyfileTest {
 protected:
  void SetUp() override {
    KeyfileTest::SetUp();
    File file(Declaration());
    ASSERT_EQ(file.Create(), kOk);
  }
};

TEST_F(StationsTest, TwoSharedStationsWriteAtOnce) {
  Station other([this](Station& self) {
    File file(Declaration());
    if (file.Open(kModeShared) != kOk) return 1;
    self.Send('r');
    if (self.Receive() != 'g') return 2;
    for (std::uint32_t uid = 1001; uid <= 1050; ++uid) {
      Store(file, {uid, "Main", "OTHER", "L" + std::to_string(uid), 0, ""});
      if (file.Add() != kOk) return 3;
    }
    return 0;
  });
  File file(Declaration());
  ASSERT_EQ(file.Open(kModeShared), kOk);
  ASSERT_EQ(other.Receive(), 'r');
  other.Send('g');
  for (std::uint32_t uid = 1; uid <= 50; ++uid) {
    Store(file, {uid, "Main", "MINE", "L" + std::to_string(uid), 0, ""});
    ASSERT_EQ(file.Add(), kOk) << DriverError();
  }
  ASSERT_EQ(other.Wait(), 0);
  ASSERT_EQ(file.Set(kKeyUid), kOk);
  int count = 0;
  while (file.Next() == kOk) ++count;
  EXPECT_EQ(count, 100);
}

TEST_F(StationsTest, DenyWriteIsRefusedWhileAnotherWritesAndRecoverWaits) {
  // Another station holds the file in 42h and closes it on request.
  Station writer([this](Station& self) {
    File file(Declaration());
    if (file.Open(kModeShared) != kOk) return 1;
    self.Send('r');
    if (self.Receive() != 'c') return 2;
    std::this_thread::sleep_for(milliseconds(300));
    file.Close();
    return 0;
  });
  ASSERT_EQ(writer.Receive(), 'r');
  File file(Declaration());
  EXPECT_EQ(file.Open(kModeDenyWrite), kFileLocked);
  EXPECT_EQ(ErrorText(), "File is locked");
  ASSERT_EQ(file.SendOption("Recover=10"), kOk);
  writer.Send('c');
  const auto start = Clock::now();
  EXPECT_EQ(file.Open(kModeDenyWrite), kOk) << DriverError();
  EXPECT_GE(SecondsSince(start), 0.2) << "the open waited for the holder";
  EXPECT_EQ(writer.Wait(), 0);

  // The reverse: while this station holds 22h, another's 42h is refused, and
  // with Recover it waits until this one closes.
  Station opener([this](Station& self) {
    File other(Declaration());
    if (other.Open(kModeShared) != kFileLocked) return 1;
    other.SendOption("Recover=10");
    self.Send('t');
    return other.Open(kModeShared) == kOk ? 0 : 2;
  });
  ASSERT_EQ(opener.Receive(), 't');
  std::this_thread::sleep_for(milliseconds(200));
  file.Close();
  EXPECT_EQ(opener.Wait(), 0);
}

TEST_F(StationsTest, TransactionHeldPastTheTimeoutFailsTheBegin) {
  Station holder([this](Station& self) {
    File file(Declaration());
    if (file.Open(kModeShared) != kOk || file.Begin(10) != kOk) return 1;
    self.Send('r');
    std::this_thread::sleep_for(std::chrono::seconds(3));
    return file.Commit() == kOk ? 0 : 2;
  });
  File file(Declaration());
  ASSERT_EQ(file.Open(kModeShared), kOk);
  ASSERT_EQ(holder.Receive(), 'r');
  const auto start = Clock::now();
  EXPECT_EQ(file.Begin(2), kFileLocked);
  const double waited = SecondsSince(start);
  EXPECT_GE(waited, 1.8);
  EXPECT_LT(waited, 2.9) << "gave up at the timeout, not when the holder ended";
  // Reading goes on meanwhile.
  ASSERT_EQ(file.Set(kKeyUid), kOk);
  EXPECT_EQ(file.Next(), kRecordNotAvailable);
  ASSERT_EQ(holder.Wait(), 0);
  EXPECT_EQ(file.Begin(2), kOk);
  EXPECT_EQ(file.Commit(), kOk);
}

TEST_F(StationsTest, WatchSeesAnotherStationsPutAndTheRetrySucceeds) {
  File file(Declaration());
  ASSERT_EQ(file.Open(kModeShared), kOk);
  Store(file, {1, "Main", "FLAT", "a", 0, "original"});
  ASSERT_EQ(file.Add(), kOk);
  ASSERT_EQ(file.Watch(), kOk);
  ASSERT_EQ(file.Get(kKeyUid), kOk);
  const std::string position = file.Position(kKeyUid);

  Station other([this](Station&) {
    File theirs(Declaration());
    if (theirs.Open(kModeShared) != kOk) return 1;
    Store(theirs, {1, "", "", "", 0, ""});
    if (theirs.Get(kKeyUid) != kOk) return 2;
    WriteText(theirs.RecordBlock(), theirs.declaration().fields[kText], "theirs");
    return theirs.Put() == kOk ? 0 : 3;
  });
  ASSERT_EQ(other.Wait(), 0);

  WriteText(file.RecordBlock(), file.declaration().fields[kText], "mine");
  ASSERT_EQ(file.Begin(2), kOk);
  EXPECT_EQ(file.Put(), kRecordChanged);
  ASSERT_EQ(file.Rollback(), kOk);
  ASSERT_EQ(file.Watch(), kOk);
  ASSERT_EQ(file.Reget(position), kOk);
  EXPECT_EQ(Clipped(file, kText), "theirs");
  WriteText(file.RecordBlock(), file.declaration().fields[kText], "mine");
  EXPECT_EQ(file.Put(), kOk);
}

}  // namespace
}  // namespace rt::keyfile::testing
