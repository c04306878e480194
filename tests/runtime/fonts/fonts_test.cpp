#include "runtime/fonts/fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "runtime/value/text.h"

namespace rt {
namespace {

// What fontconfig's own scanner says of a file's format (independent of the code under test).
std::string FormatOfFile(const std::string& file) {
  std::string command = "fc-scan --format '%{fontformat}\\n' '" + file + "' 2>/dev/null";
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
  if (!pipe) return "<no fc-scan>";
  char line[128] = {};
  if (std::fgets(line, sizeof line, pipe.get()) == nullptr) return "<unreadable>";
  std::string format(line);
  if (!format.empty() && format.back() == '\n') format.pop_back();
  return format;
}

const FontFamily* FindFamily(const std::vector<FontFamily>& list, const std::string& name) {
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const FontFamily& f) { return f.face_name == name; });
  return it == list.end() ? nullptr : &*it;
}

class FontsTest : public ::testing::TestWithParam<bool> {};

// Both lists: non-empty, sorted case-insensitively, each face once, every entry complete.
TEST_P(FontsTest, SortedUniqueAndComplete) {
  std::vector<FontFamily> list = EnumerateFontFamilies(GetParam());
  ASSERT_FALSE(list.empty());
  for (size_t i = 0; i < list.size(); ++i) {
    const FontFamily& f = list[i];
    SCOPED_TRACE(f.face_name);
    EXPECT_FALSE(IsBlank(f.face_name));
    if (i > 0) {
      EXPECT_LT(ClipCompare(list[i - 1].face_name, f.face_name), 0)
          << "after " << list[i - 1].face_name;
    }
    EXPECT_FALSE(f.styles.empty());
    EXPECT_TRUE(std::is_sorted(f.styles.begin(), f.styles.end()));
    EXPECT_EQ(std::adjacent_find(f.styles.begin(), f.styles.end()), f.styles.end());
    EXPECT_TRUE(std::filesystem::is_regular_file(f.file)) << f.file;
    EXPECT_EQ(f.true_type, f.format == "TrueType");
    if (GetParam()) {
      EXPECT_TRUE(f.true_type) << f.format;
      EXPECT_EQ(FormatOfFile(f.file), "TrueType") << f.file;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Filter, FontsTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "TrueTypeOnly" : "All"; });

// DejaVu is installed on every build machine (a dependency of the toolkits).
TEST(FontFamiliesTest, ReportsKnownFamilies) {
  std::vector<FontFamily> tt = EnumerateFontFamilies(true);
  const FontFamily* sans = FindFamily(tt, "DejaVu Sans");
  ASSERT_NE(sans, nullptr);
  EXPECT_TRUE(sans->scalable);
  EXPECT_FALSE(sans->fixed_pitch);
  EXPECT_TRUE(sans->covers_latin1);
  EXPECT_GT(sans->char_count, 1000);
  EXPECT_NE(std::find(sans->styles.begin(), sans->styles.end(), "Bold"), sans->styles.end());
  EXPECT_EQ(std::filesystem::path(sans->file).filename(), "DejaVuSans.ttf")
      << "the regular file represents the family";

  const FontFamily* mono = FindFamily(tt, "DejaVu Sans Mono");
  ASSERT_NE(mono, nullptr);
  EXPECT_TRUE(mono->fixed_pitch);

  // The filter only removes: every TrueType family is in the full list, with the same name.
  std::vector<FontFamily> all = EnumerateFontFamilies(false);
  EXPECT_GE(all.size(), tt.size());
  for (const FontFamily& f : tt) EXPECT_NE(FindFamily(all, f.face_name), nullptr) << f.face_name;
  // Families with no TrueType file at all appear only in the full list.
  for (const FontFamily& f : all) {
    if (FindFamily(tt, f.face_name) == nullptr) {
      EXPECT_FALSE(f.true_type) << f.face_name;
    }
  }
}

}  // namespace
}  // namespace rt
