// Test fixture: a settings file in a fresh temporary folder, named through the process-wide
// name variable, and the calling thread's handles closed again after each test.
#ifndef TESTS_TWIQLIB_STORE_STORE_FIXTURE_H_
#define TESTS_TWIQLIB_STORE_STORE_FIXTURE_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/keyfile/file.h"
#include "twiqlib/store/file_error.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"
#include "twiqlib/store/win_record.h"

namespace twiq::testing {

// Closes the calling thread's settings handles and zeroes its counters.
inline void ResetThreadStore() {
  StoreThreadContext& store = Store();
  store.win_file.Close();
  store.win2_file.Close();
  store.win_open_count = 0;
  store.win2_open_count = 0;
}

inline WinRecord MakeRecord(std::string_view procedure, std::string_view marker,
                            std::string_view label, int32_t feq = 1) {
  WinRecord r;
  r.procedure_name = procedure;
  r.unique_marker = marker;
  r.control_label = label;
  r.feq = feq;
  r.order = feq;
  r.description = DescriptionForLabel(label);
  return r;
}

class StoreFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "twiq-store-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    file_name_ = dir_ + "/settings.twiq";
    SettingsFileNameVariable()->Set(file_name_);
    SettingsPasswordVariable()->Set("");
    ResetThreadStore();
    TakeKeptFileError();
  }
  void TearDown() override {
    ResetThreadStore();
    TakeKeptFileError();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // Adds `records` as they are (UIDs included) through a handle of its own.
  void Seed(const std::vector<WinRecord>& records) {
    rt::keyfile::File file(WinDeclaration());
    WinRecord buffer;
    ASSERT_EQ(file.Bind(RecordBytes(buffer)), 0);
    if (file.Open(rt::keyfile::kModeShared) == rt::keyfile::kFileNotFound) {
      ASSERT_EQ(file.Create(), 0);
      ASSERT_EQ(file.Open(rt::keyfile::kModeShared), 0);
    }
    for (const WinRecord& r : records) {
      buffer = r;
      ASSERT_EQ(file.Add(), 0) << rt::keyfile::ErrorText();
    }
  }

  // Removes the settings file with the driver's side files.
  void RemoveFile() {
    rt::keyfile::File file(WinDeclaration());
    file.Remove();
  }

  // Every record of the file in UID order, read through a handle of its own.
  std::vector<WinRecord> ReadAll() {
    std::vector<WinRecord> out;
    rt::keyfile::File file(WinDeclaration());
    WinRecord buffer;
    file.Bind(RecordBytes(buffer));
    if (file.Open(rt::keyfile::kModeShared) != 0) return out;
    file.Set(kKeyUid);
    while (file.Next() == 0) out.push_back(buffer);
    return out;
  }

  std::string dir_;
  std::string file_name_;
};

}  // namespace twiq::testing

#endif  // TESTS_TWIQLIB_STORE_STORE_FIXTURE_H_
