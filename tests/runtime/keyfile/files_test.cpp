// Whole files: open modes and their sharing, layouts, keys left unbuilt,
// files that are not ours, protection, copy and remove, options.

#include <sqlite3.h>

#include <filesystem>
#include <thread>

#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/file.h"
#include "tests/runtime/keyfile/keyfile_test_util.h"

namespace rt::keyfile::testing {
namespace {

using FilesTest = KeyfileTest;

TEST_F(FilesTest, OpenAndCreateReportTheirErrors) {
  File file(Declaration());
  EXPECT_EQ(file.Open(kModeShared), kFileNotFound);
  EXPECT_EQ(ErrorText(), "File not found");
  EXPECT_NE(DriverError().find("settings.twiq"), std::string::npos);
  EXPECT_EQ(file.Next(), kFileNotOpen);
  EXPECT_EQ(file.Open(0x99), kInvalidRequest);
  ASSERT_EQ(file.Create(), kOk);
  EXPECT_FALSE(file.is_open()) << "create leaves the file closed";
  ASSERT_EQ(file.Open(kModeShared), kOk);
  EXPECT_EQ(file.Open(kModeShared), kFileAlreadyOpen);
  EXPECT_TRUE(file.is_open()) << "a second open leaves the first one alone";
  EXPECT_EQ(file.Create(), kFileAlreadyOpen);
  EXPECT_EQ(file.Close(), kOk);
  EXPECT_EQ(file.Close(), kOk);

  name_->Set("   ");
  EXPECT_EQ(file.Open(kModeShared), kFileNotFound);
  name_->Set(Path("missing-folder/settings.twiq"));
  EXPECT_EQ(file.Create(), kFileNotFound);
}

struct SharingCase {
  int held;
  int wanted;
  int expected;
};

TEST_F(FilesTest, ModesShareBetweenHandles) {
  const SharingCase cases[] = {
      {kModeShared, kModeShared, kOk},             // Two writers, fully shared.
      {kModeShared, kModeDenyWrite, kFileLocked},  // 22h while another writes.
      {kModeDenyWrite, kModeShared, kFileLocked},  // and the reverse.
      {kModeDenyWrite, kModeDenyWrite, kFileLocked},
      {0x40, kModeDenyWrite, kOk},  // A reader does not stop 22h...
      {kModeDenyWrite, 0x40, kOk},  // ...nor 22h a reader.
      {0x12, 0x40, kFileLocked},    // Deny all.
  };
  File creator(Declaration());
  ASSERT_EQ(creator.Create(), kOk);
  for (const SharingCase& c : cases) {
    File first(Declaration());
    File second(Declaration());
    ASSERT_EQ(first.Open(c.held), kOk);
    EXPECT_EQ(second.Open(c.wanted), c.expected) << std::hex << c.held << " then " << c.wanted;
    // The holder closing frees the file.
    first.Close();
    second.Close();
    EXPECT_EQ(second.Open(c.wanted), kOk);
  }
}

TEST_F(FilesTest, ModesShareBetweenThreadsAndErrorsArePerThread) {
  File mine = CreateOpen(kModeDenyWrite);
  int theirs = -1;
  int their_error = -1;
  std::thread([&] {
    File other(Declaration());
    theirs = other.Open(kModeShared);
    their_error = ErrorCode();
  }).join();
  EXPECT_EQ(theirs, kFileLocked);
  EXPECT_EQ(their_error, kFileLocked);
  EXPECT_EQ(ErrorCode(), kOk) << "another thread's error is not this thread's";
  ASSERT_EQ(mine.Set(kKeyUid), kOk);
  EXPECT_EQ(mine.Next(), kRecordNotAvailable);
}

TEST_F(FilesTest, ReadOnlyAccessRefusesWrites) {
  File file(Declaration());
  ASSERT_EQ(file.Create(), kOk);
  ASSERT_EQ(file.Open(0x40), kOk);
  Store(file, {1, "Main", "FLAT", "a", 0, ""});
  EXPECT_EQ(file.Add(), kAccessDenied);
}

TEST_F(FilesTest, AnotherLayoutIsRefusedAndAnAliasIsNot) {
  File file(Declaration());
  ASSERT_EQ(file.Create(), kOk);

  auto longer = Declaration();
  longer->record_length += 48;  // Like the older 3021-byte layout against the current one.
  File other(longer);
  EXPECT_EQ(other.Open(kModeDenyWrite), kLayoutMismatch);
  auto rekeyed = Declaration();
  rekeyed->keys[kKeyLabel].unique = true;
  EXPECT_EQ(File(rekeyed).Open(kModeDenyWrite), kLayoutMismatch);

  // The same layout under another prefix and other field names is the same file.
  auto alias = TestDeclaration(name_, password_, "REC2");
  alias->fields[kText].name = "DESCRIPTION";
  File second(alias);
  EXPECT_EQ(second.Open(kModeShared), kOk);
}

TEST_F(FilesTest, AppendLeavesKeysToBuild) {
  {
    File file = CreateOpen(kModeDenyWrite);
    ASSERT_EQ(file.Stream(), kOk);
    for (std::uint32_t uid : {3u, 1u, 2u}) {
      Store(file, {uid, "Main", "FLAT", "L" + std::to_string(uid), 0, ""});
      ASSERT_EQ(file.Append(), kOk);
    }
    EXPECT_EQ(file.Add(), kKeysMustBeRebuilt);
    ASSERT_EQ(file.Flush(), kOk);
  }
  File file(Declaration());
  EXPECT_EQ(file.Open(kModeShared), kKeysMustBeRebuilt);
  EXPECT_EQ(file.Open(kModeShared), kKeysMustBeRebuilt) << "still unbuilt";
  ASSERT_EQ(file.Build(), kOk) << DriverError();
  ASSERT_EQ(file.Open(kModeShared), kOk);
  ASSERT_EQ(file.Set(kKeyUid), kOk);
  std::vector<std::int64_t> uids;
  while (file.Next() == kOk) uids.push_back(Number(file, kUid));
  EXPECT_EQ(uids, (std::vector<std::int64_t>{1, 2, 3}));
  Store(file, {2, "Main", "FLAT", "dup", 0, ""});
  EXPECT_EQ(file.Add(), kDuplicateKey) << "the unique key is enforced again";
}

TEST_F(FilesTest, BuildFindsDuplicatesAndLeavesKeysUnbuilt) {
  {
    File file = CreateOpen(kModeDenyWrite);
    for (int i = 0; i < 2; ++i) {
      Store(file, {7, "Main", "FLAT", "same uid", 0, ""});
      ASSERT_EQ(file.Append(), kOk);
    }
    EXPECT_EQ(file.Build(), kDuplicateKey);
  }
  File file(Declaration());
  EXPECT_EQ(file.Open(kModeShared), kKeysMustBeRebuilt);
  EXPECT_EQ(file.Build(), kDuplicateKey);
}

struct DamageCase {
  const char* name;
  std::string bytes;
  const char* password;
  int code;
};

TEST_F(FilesTest, FilesThatAreNotOursAreReportedAndLeftAlone) {
  // A good protected and a good unprotected file to cut up.
  std::string protected_bytes;
  std::string plain_bytes;
  for (bool protect : {true, false}) {
    password_->Set(protect ? "secret" : "");
    File file = CreateOpen(kModeDenyWrite);
    for (std::uint32_t uid = 1; uid <= 40; ++uid) {
      Store(file, {uid, "Main", "FLAT", "L" + std::to_string(uid), 0, std::string(40, 'x')});
      ASSERT_EQ(file.Add(), kOk);
    }
    file.Close();
    (protect ? protected_bytes : plain_bytes) = ReadBytes(name_->Get());
  }
  ASSERT_GT(plain_bytes.size(), 8192u);

  const DamageCase cases[] = {
      {"Empty", "", "", kDriverError},
      {"Text", std::string(5000, 'g'), "", kDriverError},
      {"TruncatedProtected", protected_bytes.substr(0, 5000), "secret", kDriverError},
      {"TruncatedPlain", plain_bytes.substr(0, 4096), "", kDriverError},
      {"PlainWithPassword", plain_bytes, "secret", kBadPassword},
      // Page-sized random bytes cannot be told from a protected file.
      {"PageSizedGarbage", std::string(8192, '\x9c'), "", kBadPassword},
  };
  for (const DamageCase& c : cases) {
    WriteBytes(name_->Get(), c.bytes);
    password_->Set(c.password);
    File file(Declaration());
    EXPECT_EQ(file.Open(kModeDenyWrite), c.code) << c.name << ": " << DriverError();
    EXPECT_EQ(ReadBytes(name_->Get()), c.bytes) << c.name;
  }

  // Another SQLite database.
  std::filesystem::remove(name_->Get());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(name_->Get().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(1);", nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(db);
  const std::string foreign = ReadBytes(name_->Get());
  password_->Set("");
  File file(Declaration());
  EXPECT_EQ(file.Open(kModeDenyWrite), kDriverError);
  EXPECT_NE(DriverError().find("not a keyed file"), std::string::npos) << DriverError();
  EXPECT_EQ(ReadBytes(name_->Get()), foreign);

  // Pages damaged inside a file that opens: a read fails, nothing crashes or changes.
  std::string damaged = plain_bytes;
  for (std::size_t i = 8192; i < damaged.size(); i += 7) damaged[i] = '\x5a';
  WriteBytes(name_->Get(), damaged);
  File reader(Declaration());
  if (reader.Open(kModeDenyWrite) == kOk) {
    ASSERT_EQ(reader.SetFileOrder(), kOk);
    int code = kOk;
    for (int i = 0; i < 100 && code == kOk; ++i) code = reader.Next();
    EXPECT_EQ(code, kDriverError);
    reader.Close();
  } else {
    EXPECT_EQ(ErrorCode(), kDriverError);
  }
  EXPECT_EQ(ReadBytes(name_->Get()), damaged);
}

TEST_F(FilesTest, ProtectedFileNeedsItsPasswordAndHidesItsText) {
  password_->Set("s3cret pass");
  {
    File file = CreateOpen();
    Store(file, {1, "Main", "FLAT", "WINDOW", 0, "CLEAR-TEXT-MARKER-4711"});
    ASSERT_EQ(file.Add(), kOk);
  }
  const std::string bytes = ReadBytes(name_->Get());
  EXPECT_EQ(bytes.find("CLEAR-TEXT-MARKER"), std::string::npos);
  EXPECT_EQ(bytes.find("WINDOW"), std::string::npos);
  EXPECT_EQ(bytes.find("SQLite format"), std::string::npos);

  for (const char* wrong : {"", "   ", "s3cret", "S3CRET PASS"}) {
    password_->Set(wrong);
    File file(Declaration());
    EXPECT_EQ(file.Open(kModeShared), kBadPassword) << "'" << wrong << "'";
    EXPECT_EQ(ErrorText(), "Invalid or missing password");
  }
  password_->Set("s3cret pass  ");  // Trailing spaces of the variable do not count.
  File file(Declaration());
  ASSERT_EQ(file.Open(kModeShared), kOk) << DriverError();
  ASSERT_EQ(file.Get(kKeyUid), kRecordNotFound);  // The buffer holds UID 0.
  WriteNumber(file.RecordBlock(), file.declaration().fields[kUid], 1);
  ASSERT_EQ(file.Get(kKeyUid), kOk);
  EXPECT_EQ(Clipped(file, kText), "CLEAR-TEXT-MARKER-4711");
  file.Close();

  // The file is plain SQLCipher: keyed with the password, it reads without us.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(name_->Get().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_key(db, "s3cret pass", 11), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA cipher_page_size = 4096", nullptr, nullptr, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT count(*) FROM twiq_records", -1, &stmt, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(db);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(stmt, 0), 1);
  sqlite3_finalize(stmt);
  ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA cipher_version", -1, &stmt, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_NE(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))), "");
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}

TEST_F(FilesTest, CopyAndRemove) {
  password_->Set("pw");
  File file = CreateOpen();
  Store(file, {1, "Main", "FLAT", "a", 0, "copied"});
  ASSERT_EQ(file.Add(), kOk);
  const std::string backup = Path("settings.twiq.01bak");
  ASSERT_EQ(file.Begin(1), kOk);
  EXPECT_EQ(file.Copy(backup), kTransactionActive);
  ASSERT_EQ(file.Rollback(), kOk);
  ASSERT_EQ(file.Copy(backup), kOk) << DriverError();
  EXPECT_EQ(file.Copy(name_->Get()), kOk) << "a copy onto itself changes nothing";

  // The copy has the records and the password.
  File copy(Declaration());
  ASSERT_EQ(copy.SetProperty(kPropFileName, backup), kOk);
  EXPECT_EQ(copy.GetProperty(kPropFileName), backup);
  ASSERT_EQ(copy.Open(kModeShared), kOk) << DriverError();
  Store(copy, {1, "", "", "", 0, ""});
  ASSERT_EQ(copy.Get(kKeyUid), kOk);
  EXPECT_EQ(Clipped(copy, kText), "copied");
  // A destination in use is not replaced.
  EXPECT_EQ(file.Copy(backup), kFileLocked);
  EXPECT_EQ(copy.Remove(), kFileAlreadyOpen);
  copy.Close();

  // Replacing a file that exists, from a closed handle.
  file.Close();
  ASSERT_EQ(copy.Copy(name_->Get()), kOk) << DriverError();
  ASSERT_EQ(file.Open(kModeShared), kOk);
  file.Close();

  // Remove: not while another handle has it open.
  File holder(Declaration());
  ASSERT_EQ(holder.Open(kModeShared), kOk);
  EXPECT_EQ(file.Remove(), kFileLocked);
  holder.Close();
  ASSERT_EQ(file.Remove(), kOk);
  EXPECT_EQ(file.Open(kModeShared), kFileNotFound);
  EXPECT_EQ(file.Remove(), kFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(name_->Get() + ".lock"));
  EXPECT_TRUE(std::filesystem::exists(backup));
}

TEST_F(FilesTest, NamesPasswordsPropertiesAndOptions) {
  // Declarations sharing the variables follow them; a handle's own name wins.
  File first(Declaration());
  File second(TestDeclaration(name_, password_, "REC2"));
  name_->Set(Path("one.twiq  "));
  ASSERT_EQ(first.Create(), kOk);
  ASSERT_EQ(second.Open(kModeShared), kOk);
  EXPECT_EQ(second.GetProperty(kPropFileName), Path("one.twiq"));
  second.Close();
  ASSERT_EQ(second.SetProperty(kPropFileName, Path("two.twiq")), kOk);
  ASSERT_EQ(second.SetProperty(kPropFilePassword, "pw2"), kOk);
  ASSERT_EQ(second.Create(), kOk);
  EXPECT_EQ(first.Open(kModeShared), kOk) << "still the shared name";
  EXPECT_EQ(first.GetProperty(kPropFileName), Path("one.twiq"));
  first.Close();
  ASSERT_EQ(first.SetProperty(kPropFileName, Path("two.twiq")), kOk);
  EXPECT_EQ(first.Open(kModeShared), kBadPassword);
  second.UseSharedVariables();
  EXPECT_EQ(second.GetProperty(kPropFileName), Path("one.twiq"));

  EXPECT_EQ(first.GetProperty(kPropRecordBlock), "108");
  EXPECT_EQ(first.SetProperty(kPropRecordBlock, "1"), kInvalidRequest);
  EXPECT_EQ(first.GetProperty(0x1234), "");
  EXPECT_EQ(ErrorCode(), kInvalidRequest);
  EXPECT_EQ(first.SetProperty(kPropReadAhead, "-1"), kInvalidRequest);

  for (const char* ok : {"Recover=10", "RECOVER = 3", "recover=0"}) {
    EXPECT_EQ(first.SendOption(ok), kOk) << ok;
  }
  for (const char* bad : {"Recover", "Recover=", "Recover=-1", "Recover=ten", "Bogus=1", ""}) {
    EXPECT_EQ(first.SendOption(bad), kInvalidRequest) << bad;
  }
}

TEST_F(FilesTest, InvalidDeclarationsFailEveryOperation) {
  auto overlong = Declaration();
  overlong->fields[kText].width = 41;  // Ends beyond the record.
  auto unknown = Declaration();
  unknown->keys[kKeyLabel].components.push_back("NOSUCHFIELD");
  auto wide = Declaration();
  wide->record_length = 1000;
  wide->fields[kText].width = 900;
  wide->keys.push_back({"WIDE", {"TEXT"}, false});  // A position could not hold it.
  for (const auto& d : {overlong, unknown, wide}) {
    EXPECT_NE(d->Validate(), "");
    File file(d);
    EXPECT_EQ(file.Create(), kInvalidRequest);
    EXPECT_EQ(file.Open(kModeShared), kInvalidRequest);
  }
  EXPECT_EQ(Declaration()->Validate(), "");
}

}  // namespace
}  // namespace rt::keyfile::testing
