// Keys, sequences, positions and changes of one file.

#include <set>

#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/file.h"
#include "tests/runtime/keyfile/keyfile_test_util.h"

namespace rt::keyfile::testing {
namespace {

class RecordsTest : public KeyfileTest {
 protected:
  // Adds records with these labels under one procedure and marker; UIDs 1, 2, ...
  void AddLabels(File& file, const std::vector<std::string>& labels) {
    for (const std::string& label : labels) {
      Store(file, {next_uid_, "Main", "FLAT", label, static_cast<std::int32_t>(next_uid_), label});
      ++next_uid_;
      ASSERT_EQ(file.Add(), kOk) << DriverError();
    }
  }
  // The TEXT fields (which hold the label as added) read forward through `key`.
  std::vector<std::string> ReadAll(File& file, int key, bool forward = true) {
    std::vector<std::string> out;
    EXPECT_EQ(file.Set(key), kOk);
    while ((forward ? file.Next() : file.Previous()) == kOk) out.push_back(Clipped(file, kText));
    EXPECT_EQ(ErrorCode(), kRecordNotAvailable);
    return out;
  }

  std::uint32_t next_uid_ = 1;
};

struct OrderCase {
  const char* name;
  std::vector<std::string> added;      // Labels, given UIDs 1, 2, ... in this order.
  std::vector<std::int64_t> expected;  // UIDs in key order; ties in the order added.
};

class KeyOrderTest : public RecordsTest, public ::testing::WithParamInterface<OrderCase> {
 protected:
  std::vector<std::int64_t> ReadUids(File& file, bool forward) {
    std::vector<std::int64_t> out;
    EXPECT_EQ(file.Set(kKeyLabel), kOk);
    while ((forward ? file.Next() : file.Previous()) == kOk) out.push_back(Number(file, kUid));
    return out;
  }
};

TEST_P(KeyOrderTest, StringComponentsIgnoreCaseAndTrailingSpaces) {
  File file = CreateOpen();
  AddLabels(file, GetParam().added);
  EXPECT_EQ(ReadUids(file, true), GetParam().expected);
  std::vector<std::int64_t> backward(GetParam().expected.rbegin(), GetParam().expected.rend());
  EXPECT_EQ(ReadUids(file, false), backward);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyOrderTest,
    ::testing::Values(OrderCase{"Case", {"b", "A", "a", "C", "B"}, {2, 3, 1, 5, 4}},
                      OrderCase{"TrailingSpaces", {"abc  ", "ABC", "abc", "ab"}, {4, 1, 2, 3}},
                      // Texts compare as if space padded: "a" is "a ", before "a!" and after "a\t".
                      OrderCase{"Padding", {"a!", "a", "a\t", "A "}, {3, 2, 4, 1}},
                      OrderCase{"Latin1", {"\xe9t\xe9", "Z", "\xc9T\xc9", "e"}, {4, 2, 1, 3}},
                      OrderCase{
                          "Punctuation", {"_x", "?STRING1", "WINDOW", "?BUTTON1"}, {4, 2, 3, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordsTest, NumbersOrderNumericallyAndDuplicatesKeepInsertionOrder) {
  File file = CreateOpen();
  const std::vector<std::pair<std::int32_t, const char*>> adds = {
      {10, "ten-a"}, {-5, "minus"}, {10, "ten-b"}, {2, "two"}, {10, "ten-c"}};
  std::uint32_t uid = 1;
  for (const auto& [feq, text] : adds) {
    Store(file, {uid++, "Main", "FLAT", "L", feq, text});
    ASSERT_EQ(file.Add(), kOk);
  }
  EXPECT_EQ(ReadAll(file, kKeyFeq),
            (std::vector<std::string>{"minus", "two", "ten-a", "ten-b", "ten-c"}));

  // Next and Previous step across the ties one record at a time.
  Store(file, {0, "Main", "FLAT", "", 10, ""});
  ASSERT_EQ(file.SetToValue(kKeyFeq), kOk);
  ASSERT_EQ(file.Next(), kOk);
  EXPECT_EQ(Clipped(file, kText), "ten-a");
  ASSERT_EQ(file.Next(), kOk);
  EXPECT_EQ(Clipped(file, kText), "ten-b");
  ASSERT_EQ(file.Previous(), kOk);
  EXPECT_EQ(Clipped(file, kText), "ten-a");
  ASSERT_EQ(file.Previous(), kOk);
  EXPECT_EQ(Clipped(file, kText), "two");
  // Positioned at a value, Previous reads the last record at or before it.
  Store(file, {0, "Main", "FLAT", "", 10, ""});
  ASSERT_EQ(file.SetToValue(kKeyFeq), kOk);
  ASSERT_EQ(file.Previous(), kOk);
  EXPECT_EQ(Clipped(file, kText), "ten-c");
}

TEST_F(RecordsTest, SequencesFromValuesAndFileOrder) {
  File file = CreateOpen();
  AddLabels(file, {"d", "b", "c", "a"});
  // Set at a value between records: the first record after it.
  Store(file, {0, "MAIN", "flat", "bb", 0, ""});
  ASSERT_EQ(file.SetToValue(kKeyLabel), kOk);
  ASSERT_EQ(file.Next(), kOk);
  EXPECT_EQ(Clipped(file, kLabel), "c");
  // A value past every record of the procedure ends the sequence; nothing moves.
  Store(file, {0, "Main", "FLAT", "zz", 0, "untouched"});
  ASSERT_EQ(file.SetToValue(kKeyLabel), kOk);
  EXPECT_EQ(file.Next(), kRecordNotAvailable);
  EXPECT_EQ(Clipped(file, kText), "untouched");
  // File order is the order of adding.
  ASSERT_EQ(file.SetFileOrder(), kOk);
  std::vector<std::string> order;
  while (file.Next() == kOk) order.push_back(Clipped(file, kLabel));
  EXPECT_EQ(order, (std::vector<std::string>{"d", "b", "c", "a"}));
  // The highest UID is the previous record from the start of the UID key.
  ASSERT_EQ(file.Set(kKeyUid), kOk);
  ASSERT_EQ(file.Previous(), kOk);
  EXPECT_EQ(Number(file, kUid), 4);
}

TEST_F(RecordsTest, EmptyFileReportsEndOfDataNotFailure) {
  File file = CreateOpen();
  ASSERT_EQ(file.Set(kKeyUid), kOk);
  EXPECT_EQ(file.Previous(), kRecordNotAvailable);
  EXPECT_EQ(ErrorText(), "Record not available");
  Store(file, {1, "Main", "FLAT", "x", 0, ""});
  EXPECT_EQ(file.Get(kKeyLabel), kRecordNotFound);
  EXPECT_EQ(file.Put(), kRecordNotAvailable);
}

struct LookupCase {
  const char* proc;
  const char* marker;
  const char* label;
  bool found;
};

TEST_F(RecordsTest, GetByKeyIgnoresCaseAndTrailingSpaces) {
  File file = CreateOpen();
  Store(file, {1, "Main", "FLAT", "WINDOW", 0, "window record"});
  ASSERT_EQ(file.Add(), kOk);
  Store(file, {2, "Main", "FLAT", "?BUTTON1", 5, "button"});
  ASSERT_EQ(file.Add(), kOk);
  const LookupCase cases[] = {{"main", "flat", "window", true},
                              {"MAIN  ", "Flat", "Window   ", true},
                              {"Main", "FLAT", "?button1", true},
                              {"Main", "FLAT", "WINDOW2", false},
                              {"Main", "FLATX", "WINDOW", false}};
  for (const LookupCase& c : cases) {
    Store(file, {0, c.proc, c.marker, c.label, 0, "probe"});
    EXPECT_EQ(file.Get(kKeyLabel), c.found ? kOk : kRecordNotFound) << c.proc << "/" << c.label;
    if (!c.found) {
      EXPECT_EQ(Clipped(file, kText), "probe");  // The buffer is left alone.
    }
  }
}

TEST_F(RecordsTest, PositionsRereadAndResetEvenAfterDelete) {
  File file = CreateOpen();
  AddLabels(file, {"a", "b", "c", "d"});
  Store(file, {0, "Main", "FLAT", "b", 0, ""});
  ASSERT_EQ(file.Get(kKeyLabel), kOk);
  const std::string b = file.Position(kKeyLabel);
  EXPECT_LE(b.size(), 512u);
  const std::string b_uid = file.Position(kKeyUid);

  // Reget reads the same record, whatever the buffer and sequence hold.
  ASSERT_EQ(file.Set(kKeyLabel), kOk);
  ASSERT_EQ(file.Next(), kOk);
  ASSERT_EQ(file.Reget(b_uid), kOk);
  EXPECT_EQ(Clipped(file, kLabel), "b");
  // A position kept in a space-padded fixed field still works.
  ASSERT_EQ(file.Reget(b + std::string(512 - b.size(), ' ')), kOk);
  EXPECT_EQ(Clipped(file, kLabel), "b");

  // Reset makes the next read in either direction return that record.
  ASSERT_EQ(file.Reset(b), kOk);
  ASSERT_EQ(file.Next(), kOk);
  EXPECT_EQ(Clipped(file, kLabel), "b");
  ASSERT_EQ(file.Reset(b), kOk);
  ASSERT_EQ(file.Previous(), kOk);
  EXPECT_EQ(Clipped(file, kLabel), "b");

  // Once the record is gone, its position still places the sequence.
  ASSERT_EQ(file.Reget(b), kOk);
  ASSERT_EQ(file.Delete(), kOk);
  EXPECT_EQ(file.Reget(b), kRecordNotFound);
  ASSERT_EQ(file.Reset(b), kOk);
  ASSERT_EQ(file.Next(), kOk);
  EXPECT_EQ(Clipped(file, kLabel), "c");
  ASSERT_EQ(file.Reset(b), kOk);
  ASSERT_EQ(file.Previous(), kOk);
  EXPECT_EQ(Clipped(file, kLabel), "a");

  for (const char* bad : {"", "garbage", "K1.2.", "K9.1.0."}) {
    EXPECT_EQ(file.Reset(bad), std::string(bad) == "K9.1.0." ? kInvalidRequest : kRecordNotFound)
        << bad;
  }
}

TEST_F(RecordsTest, ChangesKeepKeysAndRefuseDuplicates) {
  File file = CreateOpen();
  AddLabels(file, {"a", "b"});

  // Add with a UID that exists: refused, nothing added.
  Store(file, {1, "Main", "FLAT", "z", 0, "dup"});
  EXPECT_EQ(file.Add(), kDuplicateKey);
  EXPECT_EQ(ReadAll(file, kKeyUid), (std::vector<std::string>{"a", "b"}));

  // Put maintains the keys: a changed label moves the record in its key.
  Store(file, {0, "Main", "FLAT", "a", 0, ""});
  ASSERT_EQ(file.Get(kKeyLabel), kOk);
  WriteText(file.RecordBlock(), file.declaration().fields[kLabel], "zz");
  ASSERT_EQ(file.Put(), kOk);
  EXPECT_EQ(ReadAll(file, kKeyLabel), (std::vector<std::string>{"b", "a"}));

  // Put giving a record another's UID: refused, the stored record unchanged.
  Store(file, {0, "Main", "FLAT", "b", 0, ""});
  ASSERT_EQ(file.Get(kKeyLabel), kOk);
  WriteNumber(file.RecordBlock(), file.declaration().fields[kUid], 1);
  EXPECT_EQ(file.Put(), kDuplicateKey);
  WriteNumber(file.RecordBlock(), file.declaration().fields[kUid], 2);
  ASSERT_EQ(file.Get(kKeyUid), kOk);
  EXPECT_EQ(Clipped(file, kLabel), "b");

  // Delete; the record is gone and Put has nothing to write back.
  ASSERT_EQ(file.Delete(), kOk);
  EXPECT_EQ(file.Get(kKeyUid), kRecordNotFound);
  EXPECT_EQ(file.Put(), kRecordNotAvailable);
  EXPECT_EQ(file.Delete(), kRecordNotAvailable);
  EXPECT_EQ(ReadAll(file, kKeyUid), (std::vector<std::string>{"a"}));
}

TEST_F(RecordsTest, WatchDetectsAChangeByAnotherHandle) {
  File mine = CreateOpen();
  AddLabels(mine, {"a"});
  File other(Declaration());
  ASSERT_EQ(other.Open(kModeShared), kOk);

  ASSERT_EQ(mine.Set(kKeyUid), kOk);
  ASSERT_EQ(mine.Watch(), kOk);
  ASSERT_EQ(mine.Next(), kOk);
  ASSERT_EQ(other.Set(kKeyUid), kOk);
  ASSERT_EQ(other.Next(), kOk);
  WriteText(other.RecordBlock(), other.declaration().fields[kText], "theirs");
  ASSERT_EQ(other.Put(), kOk);

  const std::string position = mine.Position(kKeyUid);
  WriteText(mine.RecordBlock(), mine.declaration().fields[kText], "mine");
  EXPECT_EQ(mine.Put(), kRecordChanged);
  EXPECT_EQ(ErrorText(), "Record changed by another station");
  // Re-read under a new watch: the other version, and then a put succeeds,
  // and a second put of ours is not taken for another station's change.
  ASSERT_EQ(mine.Watch(), kOk);
  ASSERT_EQ(mine.Reget(position), kOk);
  EXPECT_EQ(Clipped(mine, kText), "theirs");
  WriteText(mine.RecordBlock(), mine.declaration().fields[kText], "mine");
  EXPECT_EQ(mine.Put(), kOk);
  EXPECT_EQ(mine.Put(), kOk);
  // Without a watch a put simply writes.
  ASSERT_EQ(other.Reget(position), kOk);
  ASSERT_EQ(other.Put(), kOk);
  EXPECT_EQ(Clipped(other, kText), "mine");
  // A watched record deleted by the other handle is no longer available.
  ASSERT_EQ(mine.Watch(), kOk);
  ASSERT_EQ(mine.Reget(position), kOk);
  ASSERT_EQ(other.Delete(), kOk);
  EXPECT_EQ(mine.Put(), kRecordNotAvailable);
}

TEST_F(RecordsTest, BlobSizeAndChangedFlag) {
  File file = CreateOpen();
  Store(file, {1, "Main", "FLAT", "a", 0, ""});
  EXPECT_FALSE(file.BlobChanged());
  ASSERT_EQ(file.SetBlobSize(0), kOk);
  EXPECT_FALSE(file.BlobChanged()) << "emptying an empty blob changes nothing";
  const std::byte data[] = {std::byte{1}, std::byte{2}, std::byte{3}};
  ASSERT_EQ(file.SetBlob(data), kOk);
  EXPECT_TRUE(file.BlobChanged());
  ASSERT_EQ(file.Add(), kOk);
  EXPECT_FALSE(file.BlobChanged());

  ASSERT_EQ(file.SetBlobSize(0), kOk);
  ASSERT_EQ(file.Get(kKeyUid), kOk);  // A read replaces the unsaved change.
  EXPECT_EQ(file.BlobSize(), 3u);
  EXPECT_FALSE(file.BlobChanged());
  ASSERT_EQ(file.SetBlobSize(0), kOk);
  EXPECT_TRUE(file.BlobChanged());
  ASSERT_EQ(file.Put(), kOk);
  ASSERT_EQ(file.Get(kKeyUid), kOk);
  EXPECT_EQ(file.BlobSize(), 0u);
}

TEST_F(RecordsTest, TransactionsCommitAndRollBack) {
  File file = CreateOpen();
  EXPECT_EQ(file.Rollback(), kOk) << "rolling back without a transaction is allowed";
  EXPECT_EQ(file.Commit(), kNoTransaction);
  ASSERT_EQ(file.Begin(2), kOk);
  EXPECT_EQ(file.Begin(2), kTransactionActive);
  AddLabels(file, {"kept"});
  ASSERT_EQ(file.Commit(), kOk);
  ASSERT_EQ(file.Begin(2), kOk);
  AddLabels(file, {"dropped"});
  ASSERT_EQ(file.Rollback(), kOk);
  EXPECT_EQ(ReadAll(file, kKeyUid), (std::vector<std::string>{"kept"}));
}

TEST_F(RecordsTest, BufferBindingAndReadAhead) {
  File file = CreateOpen();
  std::vector<std::byte> small(10);
  EXPECT_EQ(file.Bind(small), kInvalidRequest);
  std::vector<std::byte> mine(file.declaration().record_length);
  ASSERT_EQ(file.Bind(mine), kOk);
  AddLabels(file, {"a", "b", "c", "d", "e"});
  ASSERT_EQ(file.SetProperty(kPropReadAhead, "3"), kOk);
  EXPECT_EQ(file.GetProperty(kPropReadAhead), "3");
  EXPECT_EQ(ReadAll(file, kKeyLabel), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(mine.data()) + 68, 1), "e");
  // A write drops what was read ahead; Get leaves the sequence where it was.
  ASSERT_EQ(file.Set(kKeyLabel), kOk);
  ASSERT_EQ(file.Next(), kOk);  // Reads a, b and c ahead.
  Store(file, {0, "Main", "FLAT", "c", 0, ""});
  ASSERT_EQ(file.Get(kKeyLabel), kOk);
  WriteText(file.RecordBlock(), file.declaration().fields[kText], "changed");
  ASSERT_EQ(file.Put(), kOk);
  ASSERT_EQ(file.Next(), kOk);
  EXPECT_EQ(Clipped(file, kText), "b");
  ASSERT_EQ(file.Next(), kOk);
  EXPECT_EQ(Clipped(file, kText), "changed");
}

}  // namespace
}  // namespace rt::keyfile::testing
