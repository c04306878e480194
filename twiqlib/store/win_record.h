// The control settings record: WinRecord (the current layout, 3069 bytes, 79 fields) and the
// oldest layout Win001Record (3021 bytes, its first 67 fields), generated from win_fields.h.
//
// One record describes one control (or the window itself) of one window variant: the variant
// is named by the host procedure (procedure_name) and the host's marker (unique_marker), the
// control by its label (control_label). Records are packed images: the struct's bytes are the
// stored bytes (numbers little-endian, text fields FixedString, no gaps), so a record is
// copied, compared and stored as a whole.
//
// Numeric fields lie at any offset (FONTSIZE at 1709), so they are PackedInt (packed_int.h):
// read and written by value (r.x = 5; int32_t x = r.x;), never as a misaligned int32_t.
//
// A value-initialised record (WinRecord{}) is clear: every text field spaces, every number 0.
// Its uid is 0, which no stored record has; AddWithNewUid gives it one.
//
// The carried fields (use_coordinates, imm, list_box_format,
// initial_size, tab_location, tab_scrolling, text_orientation, tab_width, spread, wizard,
// no_sheet, join, processed_flag, up, down, use_blob) keep their place so files stay
// readable; the library never reads or sets them on its own, only copies them with the record.
//
// Thread safety: records are values; each thread has its own buffers (thread_context.h).
#ifndef TWIQLIB_STORE_WIN_RECORD_H_
#define TWIQLIB_STORE_WIN_RECORD_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "twiqlib/bindings/export.h"
#include "twiqlib/store/fixed_string.h"
#include "twiqlib/store/packed_int.h"
#include "twiqlib/store/win_fields.h"

static_assert(std::endian::native == std::endian::little,
              "records are stored with little-endian numbers, as they lie in memory");

#define TWIQ_FIELD_TYPE_LONG(width) ::twiq::PackedInt<int32_t>
#define TWIQ_FIELD_TYPE_ULONG(width) ::twiq::PackedInt<uint32_t>
#define TWIQ_FIELD_TYPE_STRING(width) ::twiq::FixedString<width>
#define TWIQ_DECLARE_FIELD(kind, member, name, width, offset) \
  TWIQ_FIELD_TYPE_##kind(width) member{};

namespace twiq {

#pragma pack(push, 1)
struct WinRecord {
  TWIQ_WIN_FIELDS(TWIQ_DECLARE_FIELD)
};

struct Win001Record {
  TWIQ_WIN_FIELDS_001(TWIQ_DECLARE_FIELD)
};
#pragma pack(pop)

// The second layout generation is the current layout under its own declaration.
using Win002Record = WinRecord;

inline constexpr size_t kWinRecordSize = 3069;
inline constexpr size_t kWin001RecordSize = 3021;
inline constexpr int kWinFieldCount = 79;
inline constexpr int kWin001FieldCount = 67;

static_assert(sizeof(WinRecord) == kWinRecordSize);
static_assert(sizeof(Win001Record) == kWin001RecordSize);
static_assert(alignof(WinRecord) == 1 && alignof(Win001Record) == 1);
static_assert(std::is_trivially_copyable_v<WinRecord> && std::is_standard_layout_v<WinRecord>);
static_assert(std::is_trivially_copyable_v<Win001Record> &&
              std::is_standard_layout_v<Win001Record>);

#define TWIQ_CHECK_FIELD(kind, member, name, width, offset)                      \
  static_assert(offsetof(WinRecord, member) == (offset), "WIN:" name " offset"); \
  static_assert(sizeof(WinRecord::member) == (width), "WIN:" name " width");
TWIQ_WIN_FIELDS(TWIQ_CHECK_FIELD)
#undef TWIQ_CHECK_FIELD
#define TWIQ_CHECK_FIELD_001(kind, member, name, width, offset) \
  static_assert(offsetof(Win001Record, member) == (offset), "WIN_001:" name " offset");
TWIQ_WIN_FIELDS_001(TWIQ_CHECK_FIELD_001)
#undef TWIQ_CHECK_FIELD_001

// Sets every text field to spaces and every number to 0.
inline void ClearRecord(WinRecord& record) { record = WinRecord{}; }
inline void ClearRecord(Win001Record& record) { record = Win001Record{}; }

// True when all 3069 bytes are equal (padding spaces included): whether a record must be
// written again.
inline bool SameRecord(const WinRecord& a, const WinRecord& b) {
  return std::memcmp(&a, &b, sizeof(WinRecord)) == 0;
}

// Reserved values.
// Marker of the records that hold the design-time state of each control.
inline constexpr std::string_view kOriginalMarker = "TWIQ_ORIGINAL";
// Marker (any case) that shows a window exactly as designed.
inline constexpr std::string_view kDesignMarker = "ORIGINAL";
// Label (and description) of the record of the window itself.
inline constexpr std::string_view kWindowLabel = "WINDOW";
// The name by which messages call the settings file.
inline constexpr std::string_view kFileLabel = "WindowControls";

// True for the window record of a variant: label "WINDOW" in any case and field equate 0.
inline bool IsWindowRecord(const WinRecord& record) {
  return record.control_label.SameAs(kWindowLabel) && record.feq == 0;
}

// True when `marker` asks for the window as designed ("ORIGINAL", any case, trailing spaces
// ignored).
inline bool IsDesignMarker(std::string_view marker) {
  return rt::ClipEquals(marker, kDesignMarker);
}

// The description a record gets when it is created from a control: the label without its
// first character ("STRING1" for "?STRING1"), or "WINDOW" for the window record.
TWIQ_INTERNAL_API std::string DescriptionForLabel(std::string_view label);

// The type name the lists show for a control type code ("ENTRY" for 8), "" for a code that
// has none (39, unknown codes). "SHEET" (37) and "TAB" (38) are named only by the control
// inventory; the processed-controls browser shows no name for them.
TWIQ_INTERNAL_API std::string_view ControlTypeName(int32_t type);

}  // namespace twiq

#endif  // TWIQLIB_STORE_WIN_RECORD_H_
