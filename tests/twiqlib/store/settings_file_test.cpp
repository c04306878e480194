#include "twiqlib/store/settings_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "runtime/keyfile/errors.h"
#include "runtime/program/program.h"
#include "runtime/value/text.h"
#include "tests/twiqlib/store/message_box_script.h"
#include "tests/twiqlib/store/store_fixture.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"

namespace twiq {
namespace {

namespace kf = rt::keyfile;
using testing::MessageBoxScript;
using testing::StoreFileTest;

TWIQSETTINGS Settings(std::string_view folder, std::string_view password = "") {
  TWIQSETTINGS s;
  std::memset(&s, ' ', sizeof s);
  std::memcpy(s.TWIQPATH, folder.data(), folder.size());
  std::memcpy(s.PASSWORD, password.data(), password.size());
  s.PROMPTONEXIT = 0;
  return s;
}

std::string Folder(const TWIQSETTINGS& s) {
  return rt::Clip(std::string_view(s.TWIQPATH, sizeof s.TWIQPATH));
}

// The base name of this test program: the settings file is named after it.
std::string ProgramBase() {
  std::string exe = rt::ExecutablePath();
  return exe.substr(exe.rfind('/') + 1);
}

using LocateTest = StoreFileTest;

TEST_F(LocateTest, NamesTheFileInTheFolderAndCompletesIt) {
  for (std::string folder : {dir_, dir_ + "/"}) {
    SCOPED_TRACE(folder);
    TWIQSETTINGS s = Settings(folder);
    LocateSettingsFile(s);
    EXPECT_EQ(SettingsFileNameVariable()->Get(), dir_ + "/" + ProgramBase() + ".twiq");
    EXPECT_EQ(Folder(s), dir_ + "/");
  }
}

TEST_F(LocateTest, BlankFolderIsBesideTheExecutableWhateverTheCurrentFolder) {
  const std::string beside = rt::ExecutablePath() + ".twiq";  // the test has no extension
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir_.c_str()), 0);
  TWIQSETTINGS s = Settings("");
  LocateSettingsFile(s);
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_EQ(SettingsFileNameVariable()->Get(), beside);
  EXPECT_EQ(Folder(s), "");
}

// The password variable: kept for a file still to be created, blank for an existing
// unprotected file opened without one, the host's once it gives one.
TEST_F(LocateTest, PasswordVariable) {
  SettingsPasswordVariable()->Set("earlier");
  TWIQSETTINGS blank = Settings(dir_);
  LocateSettingsFile(blank);
  EXPECT_EQ(SettingsPasswordVariable()->Get(), "earlier") << "no file yet: left as it was";

  SettingsPasswordVariable()->Set("");
  { ScopedSettingsFile created; }  // creates the file, unprotected
  SettingsPasswordVariable()->Set("earlier");
  LocateSettingsFile(blank);
  EXPECT_EQ(SettingsPasswordVariable()->Get(), "");

  MessageBoxScript boxes;
  TWIQSETTINGS with = Settings(dir_, "s3cret  ");
  LocateSettingsFile(with);
  EXPECT_EQ(SettingsPasswordVariable()->Get(), "s3cret");
  // The unprotected file needs protecting: reported, left as it is.
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].caption, "Twiq");
  EXPECT_NE(boxes.shown()[0].text.find("not protected"), std::string::npos);
  SettingsPasswordVariable()->Set("");
  kf::File plain(WinDeclaration());
  EXPECT_EQ(plain.Open(kf::kModeDenyWrite), 0) << "still unprotected";
}

TEST_F(LocateTest, ProtectedFileWithItsPasswordProbesQuietly) {
  SettingsPasswordVariable()->Set("s3cret");
  TWIQSETTINGS s = Settings(dir_, "s3cret");
  LocateSettingsFile(s);
  { ScopedSettingsFile created; }
  MessageBoxScript boxes;
  LocateSettingsFile(s);
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_FALSE(Store().win_file.is_open());
}

using OpenTest = StoreFileTest;

// Nested open/release pairs on one thread open and close the file once; the two-file form
// opens WIN2 besides.
TEST_F(OpenTest, NestedPairsOpenOnce) {
  StoreThreadContext& store = Store();
  SettingsFileHold outer, inner, both;
  OpenSettingsFile(outer);
  EXPECT_TRUE(store.win_file.is_open()) << "missing file created and opened";
  OpenSettingsFile(inner);
  OpenSettingsFile(both, SettingsFiles::kWinAndWin2);
  EXPECT_EQ(store.win_open_count, 3);
  EXPECT_EQ(store.win2_open_count, 1);
  EXPECT_TRUE(store.win2_file.is_open());
  ReleaseSettingsFile(both);
  EXPECT_FALSE(store.win2_file.is_open());
  ReleaseSettingsFile(inner);
  ReleaseSettingsFile(inner);  // a hold is released once, however often it is called
  EXPECT_TRUE(store.win_file.is_open());
  EXPECT_EQ(store.win_open_count, 1);
  ReleaseSettingsFile(outer);
  EXPECT_FALSE(store.win_file.is_open());
  EXPECT_EQ(store.win_open_count, 0);
}

// A second thread has its own handles: its open is a second, shared open of the same file.
TEST_F(OpenTest, SecondThreadOpensForItself) {
  ScopedSettingsFile held;
  Store().win = testing::MakeRecord("Main", "FLAT", "?FIRST");
  Store().win.uid = 1;
  ASSERT_EQ(Store().win_file.Add(), 0);
  uint32_t seen_uid = 0;
  bool was_open = true;
  std::thread other([&] {
    was_open = Store().win_file.is_open();
    ScopedSettingsFile own;
    Store().win.uid = 1;
    if (Store().win_file.Get(kKeyUid) == 0) seen_uid = Store().win.uid;
    Store().win = testing::MakeRecord("Main", "FLAT", "?SECOND");
    Store().win.uid = 2;
    Store().win_file.Add();
  });
  other.join();
  EXPECT_FALSE(was_open) << "a new thread starts with its handles closed";
  EXPECT_EQ(seen_uid, 1u);
  EXPECT_EQ(Store().win_open_count, 1);
  Store().win.uid = 2;
  EXPECT_EQ(Store().win_file.Get(kKeyUid), 0) << "the other thread's add is in the same file";
  EXPECT_EQ(Store().win.control_label, "?SECOND");
}

// Keys that must be rebuilt: the user agrees to warning 2, the keys are rebuilt and the file
// opens.
TEST_F(OpenTest, RebuildsKeysWhenTheUserAgrees) {
  {
    kf::File file(WinDeclaration());
    WinRecord buffer = testing::MakeRecord("Main", "FLAT", "?A");
    buffer.uid = 5;
    file.Bind(RecordBytes(buffer));
    ASSERT_EQ(file.Create(), 0);
    ASSERT_EQ(file.Open(kf::kModeDenyWrite), 0);
    ASSERT_EQ(file.Append(), 0);
  }
  MessageBoxScript boxes({kButtonYes});
  ScopedSettingsFile held;
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].caption, "Invalid Key");
  EXPECT_EQ(boxes.shown()[0].text,
            file_name_ + " key file is invalid.  Do you want to rebuild the key?");
  EXPECT_TRUE(Store().win_file.is_open());
  Store().win.uid = 5;
  EXPECT_EQ(Store().win_file.Get(kKeyUid), 0);
}

// A second process holds the file exclusively for a moment: the open waits for it
// ("Recover=10") instead of failing.
TEST_F(OpenTest, LockedFileIsOpenedAfterTheHolderLetsGo) {
  { ScopedSettingsFile created; }
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    kf::File holder(WinDeclaration());
    int rc = holder.Open(kf::kModeDenyWrite);
    char c = rc == 0 ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    holder.Close();
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  MessageBoxScript boxes;
  ScopedSettingsFile held;
  EXPECT_TRUE(Store().win_file.is_open());
  EXPECT_TRUE(boxes.shown().empty());
  int status = 0;
  waitpid(child, &status, 0);
  close(ready[0]);
  close(ready[1]);
}

// Writes each box to standard error, so that a death test sees what the user saw.
void PrintBoxes() {
  SetMessageBoxHandler([](const MessageBoxRequest& r) {
    std::fprintf(stderr, "[%s] %s\n", r.caption.c_str(), r.text.c_str());
    return r.default_button == kButtonYes ? kButtonNo : r.default_button;  // No to warning 2
  });
}

struct FatalOpenCase {
  const char* name;
  void (*prepare)(const std::string& dir, const std::string& file);
  const char* stderr_regex;  // box, then the text HALT shows
};

using OpenDeathTest = StoreFileTest;

// Opens that cannot be repaired end the program after their warning.
TEST_F(OpenDeathTest, UnrepairableOpensEndTheProgram) {
  const FatalOpenCase cases[] = {
      {"older layout",
       [](const std::string&, const std::string&) {
         kf::File old(Win001Declaration());
         old.Create();
       },
       "\\[Invalid File\\] Error: \\(Record layout does not match the file \\(47\\)\\) "
       "accessing .*settings.twiq.  Press OK to end this application.\nInvalid File!\n$"},
      {"wrong password",
       [](const std::string&, const std::string&) {
         SettingsPasswordVariable()->Set("right");
         kf::File file(WinDeclaration());
         file.Create();
         SettingsPasswordVariable()->Set("wrong");
       },
       "\\[File Access Error\\] File \\(.*settings.twiq\\) could not be opened.  Error: "
       "Invalid or missing password \\(36\\).\nDisk Error\n$"},
      {"damaged file",
       [](const std::string&, const std::string& file) {
         FILE* f = std::fopen(file.c_str(), "w");
         std::fputs("this is not a settings file, only some text written over it\n", f);
         std::fclose(f);
       },
       "\\[File Access Error\\] File \\(.*settings.twiq\\) could not be opened.  Error: "
       ".*\\)\\.\nDisk Error\n$"},
      {"no folder to create it in",
       [](const std::string& dir, const std::string&) {
         SettingsFileNameVariable()->Set(dir + "/missing/settings.twiq");
       },
       "\\[File Creation Error\\] Error: \\(.*\\) creating .*/missing/settings.twiq.  Press OK "
       "to end this application.\nFile Creation Error!\n$"},
      {"keys unbuilt, rebuild declined",
       [](const std::string&, const std::string&) {
         kf::File file(WinDeclaration());
         WinRecord buffer = testing::MakeRecord("Main", "FLAT", "?A");
         buffer.uid = 1;
         file.Bind(RecordBytes(buffer));
         file.Create();
         file.Open(kf::kModeDenyWrite);
         file.Append();
       },
       "\\[Invalid Key\\] .*settings.twiq key file is invalid.  Do you want to rebuild the "
       "key\\?\nInvalid Key!\n$"},
  };
  for (const FatalOpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EXIT(
        {
          PrintBoxes();
          c.prepare(dir_, file_name_);
          SettingsFileHold hold;
          OpenSettingsFile(hold);
          std::fprintf(stderr, "opened\n");
          std::_Exit(3);
        },
        ::testing::ExitedWithCode(0), c.stderr_regex);
  }
}

}  // namespace
}  // namespace twiq
