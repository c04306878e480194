#include "twiqlib/store/win_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "runtime/keyfile/record.h"
#include "twiqlib/store/thread_context.h"
#include "twiqlib/store/win_file.h"

namespace twiq {
namespace {

TEST(WinRecord, ClearIsSpacesAndZeros) {
  WinRecord r;
  std::memset(static_cast<void*>(&r), 'x', sizeof r);
  ClearRecord(r);
  const uint32_t uid = r.uid;  // copies: numeric fields may lie at odd addresses
  const int32_t font_size = r.font_size, use_blob = r.use_blob;
  EXPECT_EQ(uid, 0u);
  EXPECT_EQ(font_size, 0);
  EXPECT_EQ(use_blob, 0);
  EXPECT_EQ(r.procedure_name.View(), std::string(80, ' '));
  EXPECT_EQ(r.list_box_format.View(), std::string(1024, ' '));
  EXPECT_EQ(r.typeface.View(), std::string(31, ' '));
  EXPECT_TRUE(SameRecord(r, WinRecord{}));
}

TEST(WinRecord, SameRecordComparesEveryByte) {
  WinRecord a, b;
  EXPECT_TRUE(SameRecord(a, b));
  b.use_blob = 1;  // the last field
  EXPECT_FALSE(SameRecord(a, b));
  b = a;
  b.control_text.data()[511] = 'x';
  EXPECT_FALSE(SameRecord(a, b));
}

TEST(WinRecord, FixedStringsPadCutAndIgnoreTrailingSpaces) {
  FixedString<5> s = "ab";
  EXPECT_EQ(s.View(), "ab   ");
  EXPECT_EQ(s.Clipped(), "ab");
  s = "abcdefg";
  EXPECT_EQ(s.View(), "abcde");
  EXPECT_TRUE(FixedString<5>("ab") == "ab  ");
  EXPECT_FALSE(FixedString<5>("ab") == "AB");
  EXPECT_TRUE(FixedString<5>("ab").SameAs("AB   "));
  EXPECT_TRUE(FixedString<5>().IsBlank());
}

TEST(WinRecord, ReservedValues) {
  struct {
    const char* label;
    int32_t feq;
    bool window;
    const char* description;
  } cases[] = {
      {"WINDOW", 0, true, "WINDOW"},     {"window", 0, true, "WINDOW"},
      {"WINDOW", 5, false, "WINDOW"},    {"?TESTENTRY", 3, false, "TESTENTRY"},
      {"?STRING1", 1, false, "STRING1"}, {"", 0, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    WinRecord r;
    r.control_label = c.label;
    r.feq = c.feq;
    EXPECT_EQ(IsWindowRecord(r), c.window);
    EXPECT_EQ(DescriptionForLabel(c.label), c.description);
  }
  EXPECT_TRUE(IsDesignMarker("original  "));
  EXPECT_TRUE(IsDesignMarker("Original"));
  EXPECT_FALSE(IsDesignMarker(kOriginalMarker));
  EXPECT_EQ(ControlTypeName(34), "COMBO");
  EXPECT_EQ(ControlTypeName(39), "");
  EXPECT_EQ(ControlTypeName(40), "RTF TEXT control");
}

// The field table the driver gets names every field at the place the struct has it, with its
// type: each field written through the struct reads back through the table.
TEST(WinRecord, DeclarationMatchesTheRecord) {
  namespace kf = rt::keyfile;
  struct Declared {
    std::shared_ptr<const kf::FileDeclaration> declaration;
    size_t length;
    size_t fields;
    bool blob;
  } declared[] = {{WinDeclaration(), 3069, 79, true},
                  {Win2Declaration(), 3069, 79, true},
                  {Win002Declaration(), 3069, 79, true},
                  {Win001Declaration(), 3021, 67, false}};
  for (const Declared& d : declared) {
    SCOPED_TRACE(d.declaration->prefix);
    EXPECT_EQ(d.declaration->Validate(), "");
    EXPECT_EQ(d.declaration->record_length, d.length);
    EXPECT_EQ(d.declaration->fields.size(), d.fields);
    EXPECT_EQ(d.declaration->blob.empty(), !d.blob);
    ASSERT_EQ(d.declaration->keys.size(), 4u);
    EXPECT_TRUE(d.declaration->keys[kKeyUid].unique);
    EXPECT_EQ(d.declaration->FindKey(d.declaration->prefix + ":KEYPROCEDUREMARKERLABEL"),
              kKeyProcedureMarkerLabel);
    EXPECT_EQ(d.declaration->FindKey("ORDERKEY"), kOrderKey);
  }
  // A few places of the stored layout, odd offsets included.
  struct Place {
    const char* name;
    size_t offset;
    kf::FieldType type;
    size_t width;
  } places[] = {{"UID", 0, kf::FieldType::kULong, 4},
                {"CONTROLLABEL", 164, kf::FieldType::kString, 80},
                {"TYPEFACE", 1678, kf::FieldType::kString, 31},
                {"FONTSIZE", 1709, kf::FieldType::kLong, 4},
                {"LISTBOXFORMAT", 1725, kf::FieldType::kString, 1024},
                {"ANGLE", 3017, kf::FieldType::kLong, 4},
                {"USEBLOB", 3065, kf::FieldType::kLong, 4}};
  const kf::FileDeclaration& win = *WinDeclaration();
  for (const Place& p : places) {
    SCOPED_TRACE(p.name);
    const int i = win.FindField(std::string("WIN:") + p.name);
    ASSERT_GE(i, 0);
    EXPECT_EQ(win.fields[i].offset, p.offset);
    EXPECT_EQ(win.fields[i].type, p.type);
    EXPECT_EQ(kf::FieldWidth(win.fields[i]), p.width);
  }

  // Every field written through the table (numbers -k, text "v<k>" for the k-th field)
  // reads back through the struct member of the same name.
  WinRecord r;
  int32_t k = 1;
  for (const kf::Field& f : win.fields) {
    if (f.type == kf::FieldType::kString) {
      kf::WriteText(RecordBytes(r), f, "v" + std::to_string(k));
    } else {
      kf::WriteNumber(RecordBytes(r), f, -k);
    }
    ++k;
  }
  k = 1;
  auto check = [](const char* name, const auto& field, int32_t expected) {
    SCOPED_TRACE(name);
    using Field = std::decay_t<decltype(field)>;
    if constexpr (std::is_same_v<Field, PackedInt<int32_t>>) {
      EXPECT_EQ(int32_t{field}, -expected);
    } else if constexpr (std::is_same_v<Field, PackedInt<uint32_t>>) {
      EXPECT_EQ(uint32_t{field}, static_cast<uint32_t>(-expected));
    } else {
      EXPECT_EQ(field.str(), "v" + std::to_string(expected));
    }
  };
#define TWIQ_READ(kind, member, name, width, offset) check(name, r.member, k++);
  TWIQ_WIN_FIELDS(TWIQ_READ)
#undef TWIQ_READ
}

}  // namespace
}  // namespace twiq
