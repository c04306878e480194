// Test helpers of the customisation engine: a settings file of its own in a temporary folder,
// a guard that fails the test on any message box, and direct access to the file's records.
#ifndef TESTS_TWIQLIB_ENGINE_ENGINE_TEST_UTIL_H_
#define TESTS_TWIQLIB_ENGINE_ENGINE_TEST_UTIL_H_

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "runtime/keyfile/errors.h"
#include "runtime/keyfile/file.h"
#include "runtime/value/text.h"
#include "runtime/window/window.h"
#include "runtime/window/window_registry.h"
#include "twiq/twiq.h"
#include "twiqlib/bindings/message_box.h"
#include "twiqlib/store/settings_file.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiq::testing {

// While alive, any message box fails the test (its text is reported) and is answered with
// its default button.
class NoMessageBoxes {
 public:
  NoMessageBoxes() {
    previous_ = SetMessageBoxHandler([](const MessageBoxRequest& request) {
      ADD_FAILURE() << "unexpected message box: " << request.text;
      return request.default_button;
    });
  }
  ~NoMessageBoxes() { SetMessageBoxHandler(std::move(previous_)); }
  NoMessageBoxes(const NoMessageBoxes&) = delete;
  NoMessageBoxes& operator=(const NoMessageBoxes&) = delete;

 private:
  MessageBoxHandler previous_;
};

// A temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "twiq_engine_XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Host settings naming `folder`, no password.
inline TWIQSETTINGS SettingsFor(const std::string& folder) {
  TWIQSETTINGS s;
  std::memset(&s, ' ', sizeof s);
  std::memcpy(s.TWIQPATH, folder.data(), std::min(folder.size(), sizeof s.TWIQPATH));
  s.PROMPTONEXIT = 0;
  return s;
}

// A settings file of the test's own: located in a fresh temporary folder.
class SettingsFileFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_ = SettingsFor(folder_.path());
    LocateSettingsFile(settings_);
  }
  void TearDown() override {
    EXPECT_EQ(Store().win_open_count, 0) << "an open of WIN was not released";
    EXPECT_EQ(Store().win2_open_count, 0) << "an open of WIN2 was not released";
  }

  std::string FileName() const { return SettingsFileNameVariable()->Get(); }
  bool FileExists() const { return std::filesystem::exists(FileName()); }

  // Every record of the file, in the order they were added.
  std::vector<WinRecord> Records() const {
    std::vector<WinRecord> out;
    if (!FileExists()) return out;
    rt::keyfile::File file(WinDeclaration());
    WinRecord buffer;
    file.Bind(RecordBytes(buffer));
    EXPECT_EQ(file.Open(rt::keyfile::kModeShared), rt::keyfile::kOk);
    file.SetFileOrder();
    while (file.Next() == rt::keyfile::kOk) out.push_back(buffer);
    file.Close();
    return out;
  }

  // The record of (procedure, marker, label); fails the test when there is none.
  WinRecord Find(std::string_view procedure, std::string_view marker,
                 std::string_view label) const {
    for (const WinRecord& r : Records()) {
      if (r.procedure_name.SameAs(procedure) && r.unique_marker.SameAs(marker) &&
          r.control_label.SameAs(label)) {
        return r;
      }
    }
    ADD_FAILURE() << "no record " << procedure << "/" << marker << "/" << label;
    return WinRecord{};
  }

  // Adds `record` under `uid`, or the next free UID when 0 (the file is created when
  // missing); returns the UID.
  uint32_t Add(const WinRecord& record, uint32_t uid = 0) {
    SettingsFileHold hold;
    OpenSettingsFile(hold);
    Store().win = record;
    uint32_t highest = 0;
    for (const WinRecord& r : Records()) {
      if (r.uid > highest) highest = r.uid;
    }
    Store().win.uid = uid != 0 ? uid : highest + 1;
    EXPECT_EQ(Store().win_file.Add(), rt::keyfile::kOk) << rt::keyfile::ErrorText();
    const uint32_t added = Store().win.uid;
    ReleaseSettingsFile(hold);
    return added;
  }

  // How many times each record was written back since it was added, by UID.
  std::map<uint32_t, int> WriteCounts() const {
    std::map<uint32_t, int> out;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(FileName().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT image, changes FROM twiq_records", -1, &stmt, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
      WinRecord r;
      EXPECT_EQ(static_cast<size_t>(sqlite3_column_bytes(stmt, 0)), sizeof r);
      std::memcpy(&r, sqlite3_column_blob(stmt, 0), sizeof r);
      out[+r.uid] = sqlite3_column_int(stmt, 1);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
  }

  TempFolder folder_;
  TWIQSETTINGS settings_;
  NoMessageBoxes no_boxes_;
};

// A record of variant (procedure, marker) for `label`, every property field clear.
inline WinRecord RecordFor(std::string_view procedure, std::string_view marker,
                           std::string_view label, int feq, int order) {
  WinRecord r;
  r.procedure_name = procedure;
  r.unique_marker = marker;
  r.control_label = label;
  r.feq = feq;
  r.order = order;
  r.description = DescriptionForLabel(label);
  return r;
}

// A control of `type` labelled `label` at `feq`, in the window itself.
inline rt::ControlSpec ControlSpecOf(int feq, rt::ControlType type, std::string label) {
  rt::ControlSpec control;
  control.feq = feq;
  control.type = type;
  control.label = std::move(label);
  return control;
}

// Closes a window when it goes.
struct WindowCloser {
  std::shared_ptr<rt::Window> window;
  ~WindowCloser() {
    if (window) rt::CloseWindow(window->ref());
  }
};

}  // namespace twiq::testing

#endif  // TESTS_TWIQLIB_ENGINE_ENGINE_TEST_UTIL_H_
