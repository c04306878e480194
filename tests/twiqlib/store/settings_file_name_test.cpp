#include "twiqlib/store/settings_file_name.h"

#include <gtest/gtest.h>

#include "runtime/value/text.h"

namespace twiq {
namespace {

struct NameCase {
  const char* executable;
  const char* folder;
  const char* file_name;
  const char* folder_after;  // what the host's settings hold afterwards
};

TEST(SettingsFileName, FollowsExecutableAndFolder) {
  const NameCase cases[] = {
      // Beside the executable: the extension is replaced, or ".twiq" appended.
      {"/opt/app/demo", "", "/opt/app/demo.twiq", ""},
      {"/opt/app/demo.bin", "", "/opt/app/demo.twiq", ""},
      {"/opt/app/demo.bin   ", "    ", "/opt/app/demo.twiq", ""},
      {"/opt/my.app/demo", "", "/opt/my.app/demo.twiq", ""},
      {"/opt/app/.demo", "", "/opt/app/.demo.twiq", ""},
      {"/opt/app/demo.tar.gz", "", "/opt/app/demo.tar.twiq", ""},
      // In the folder, with and without the trailing "/": the same file.
      {"/opt/app/demo.bin", "/data", "/data/demo.twiq", "/data/"},
      {"/opt/app/demo.bin", "/data/", "/data/demo.twiq", "/data/"},
      {"/opt/app/demo.bin", "/data/   ", "/data/demo.twiq", "/data/"},
      {"/opt/app/demo", "/data", "/data/demo.twiq", "/data/"},
      {"/opt/my.app/demo", "/data", "/data/demo.twiq", "/data/"},
      // No folder in argument 0: the whole text, extension included, is the base name.
      {"demo.bin", "/data", "/data/demo.bin.twiq", "/data/"},
      {"demo", "/data/", "/data/demo.twiq", "/data/"},
      {"demo.bin", "", "demo.twiq", ""},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(std::string(c.executable) + " in '" + c.folder + "'");
    SettingsFileLocation got = LocateSettingsFileName(c.executable, c.folder);
    EXPECT_EQ(got.file_name, c.file_name);
    EXPECT_EQ(got.folder, c.folder_after);
    EXPECT_EQ(got.folder_changed, rt::Clip(c.folder) != c.folder_after);
  }
}

}  // namespace
}  // namespace twiq
