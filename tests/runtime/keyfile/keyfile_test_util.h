// Shared helpers of the keyed-file driver tests: a temporary folder per test,
// a small record layout like the settings record's, and forked stations.

#ifndef TESTS_RUNTIME_KEYFILE_KEYFILE_TEST_UTIL_H_
#define TESTS_RUNTIME_KEYFILE_KEYFILE_TEST_UTIL_H_

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "runtime/keyfile/declaration.h"
#include "runtime/keyfile/file.h"
#include "runtime/keyfile/record.h"

namespace rt::keyfile::testing {

// Field and key numbers of TestDeclaration().
enum TestField { kUid, kProc, kMarker, kLabel, kFeq, kText };
enum TestKey { kKeyUid, kKeyLabel, kKeyFeq };

// UID ULONG, PROC/MARKER/LABEL STRING(20), FEQ LONG, TEXT STRING(40): 108 bytes.
// Keys: UID unique; PROC+MARKER+LABEL and PROC+MARKER+FEQ with duplicates.
inline std::shared_ptr<FileDeclaration> TestDeclaration(std::shared_ptr<TextVariable> name,
                                                        std::shared_ptr<TextVariable> password,
                                                        const std::string& prefix = "REC") {
  auto d = std::make_shared<FileDeclaration>();
  d->prefix = prefix;
  d->record_length = 108;
  d->fields = {{"UID", 0, FieldType::kULong, 4},       {"PROC", 4, FieldType::kString, 20},
               {"MARKER", 24, FieldType::kString, 20}, {"LABEL", 44, FieldType::kString, 20},
               {"FEQ", 64, FieldType::kLong, 4},       {"TEXT", 68, FieldType::kString, 40}};
  d->keys = {{"KEYUID", {"UID"}, true},
             {"KEYLABEL", {"PROC", "MARKER", "LABEL"}, false},
             {"KEYFEQ", {"PROC", "MARKER", "FEQ"}, false}};
  d->blob = "IMAGEBLOB";
  d->file_name = std::move(name);
  d->password = std::move(password);
  return d;
}

struct TestRecord {
  std::uint32_t uid = 0;
  std::string proc, marker, label;
  std::int32_t feq = 0;
  std::string text;
};

inline void Store(File& file, const TestRecord& r) {
  const FileDeclaration& d = file.declaration();
  std::span<std::byte> rec = file.RecordBlock();
  ClearRecord(d, rec);
  WriteNumber(rec, d.fields[kUid], r.uid);
  WriteText(rec, d.fields[kProc], r.proc);
  WriteText(rec, d.fields[kMarker], r.marker);
  WriteText(rec, d.fields[kLabel], r.label);
  WriteNumber(rec, d.fields[kFeq], r.feq);
  WriteText(rec, d.fields[kText], r.text);
}

inline std::string Text(File& file, int field) {
  return std::string(ReadText(file.RecordBlock(), file.declaration().fields[field]));
}
inline std::string Clipped(File& file, int field) {
  std::string t = Text(file, field);
  return t.substr(0, t.find_last_not_of(' ') + 1);
}
inline std::int64_t Number(File& file, int field) {
  return ReadNumber(file.RecordBlock(), file.declaration().fields[field]);
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A fixture with a fresh folder under /tmp, removed afterwards, and the shared
// name and password variables of the test declaration.
class KeyfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/keyfile-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    name_->Set(Path("settings.twiq"));
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& leaf) const { return dir_ + "/" + leaf; }
  std::shared_ptr<FileDeclaration> Declaration() { return TestDeclaration(name_, password_); }
  // A handle on a freshly created file, open in `mode`.
  File CreateOpen(int mode = kModeShared) {
    File file(Declaration());
    EXPECT_EQ(file.Create(), kOk) << DriverError();
    EXPECT_EQ(file.Open(mode), kOk) << DriverError();
    return file;
  }

  std::string dir_;
  std::shared_ptr<TextVariable> name_ = std::make_shared<TextVariable>();
  std::shared_ptr<TextVariable> password_ = std::make_shared<TextVariable>();
};

// A forked station running `body`, which returns its exit code. The two
// processes exchange single bytes over pipes; every wait is bounded.
class Station {
 public:
  explicit Station(const std::function<int(Station&)>& body) {
    int down[2];
    int up[2];
    if (pipe(down) != 0 || pipe(up) != 0) std::abort();
    pid_ = fork();
    if (pid_ == 0) {
      close(down[1]);
      close(up[0]);
      in_ = down[0];
      out_ = up[1];
      _exit(body(*this));  // No destructors or test teardown in the child.
    }
    close(down[0]);
    close(up[1]);
    in_ = up[0];
    out_ = down[1];
  }
  ~Station() {
    if (pid_ > 0 && !waited_) Wait();
    close(in_);
    close(out_);
  }

  void Send(char c) {
    if (write(out_, &c, 1) != 1) std::abort();
  }
  // The next byte from the other side, or 0 after `timeout_ms`.
  char Receive(int timeout_ms = 15000) {
    pollfd p = {in_, POLLIN, 0};
    char c = 0;
    if (poll(&p, 1, timeout_ms) == 1 && read(in_, &c, 1) == 1) return c;
    return 0;
  }
  // The child's exit code (-1 when it did not exit normally).
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  bool waited_ = false;
};

}  // namespace rt::keyfile::testing

#endif  // TESTS_RUNTIME_KEYFILE_KEYFILE_TEST_UTIL_H_
