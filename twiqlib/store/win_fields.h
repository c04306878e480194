// The one field list of the control settings record.
//
// Every layout of the settings record (the current WinRecord, the older Win001Record) and the
// field tables handed to the keyed-file driver are generated from these lists, so a field's
// name, type, width and offset are written exactly once. Each entry is
//   X(KIND, member, "NAME", width, offset)
// KIND is LONG (signed 32-bit), ULONG (unsigned 32-bit) or STRING (FixedString<width>);
// "NAME" is the field's name after the declaration's prefix ("WIN:" + "UID"); offset is the
// byte offset of the stored layout, checked against the generated struct at compile time.
//
// TWIQ_WIN_FIELDS_001 is the layout of the oldest files (3021 bytes, ending with ANGLE);
// TWIQ_WIN_FIELDS_LATER holds the twelve fields the current layout adds after it. The fields
// marked "carried" in win_record.h are stored and copied but given no meaning.
#ifndef TWIQLIB_STORE_WIN_FIELDS_H_
#define TWIQLIB_STORE_WIN_FIELDS_H_

// clang-format off
#define TWIQ_WIN_FIELDS_001(X) \
  X(ULONG , uid,              "UID",             4,    0) \
  X(STRING, procedure_name,   "PROCEDURENAME",   80,   4) \
  X(STRING, unique_marker,    "UNIQUEMARKER",    80,   84) \
  X(STRING, control_label,    "CONTROLLABEL",    80,   164) \
  X(LONG  , feq,              "FEQ",             4,    244) \
  X(LONG  , order,            "ORDER",           4,    248) \
  X(LONG  , type,             "TYPE",            4,    252) \
  X(STRING, description,      "DESCRIPTION",     100,  256) \
  X(STRING, control_text,     "CONTROLTEXT",     512,  356) \
  X(LONG  , justification,    "JUSTIFICATION",   4,    868) \
  X(LONG  , offset,           "OFFSET",          4,    872) \
  X(LONG  , layout,           "LAYOUT",          4,    876) \
  X(LONG  , hide,             "HIDE",            4,    880) \
  X(LONG  , disable,          "DISABLE",         4,    884) \
  X(LONG  , skip,             "SKIP",            4,    888) \
  X(STRING, scroll,           "SCROLL",          20,   892) \
  X(LONG  , transparent,      "TRANSPARENT",     4,    912) \
  X(LONG  , word_case,        "WORDCASE",        4,    916) \
  X(LONG  , entry_mode,       "ENTRYMODE",       4,    920) \
  X(LONG  , flat,             "FLAT",            4,    924) \
  X(LONG  , required,         "REQUIRED",        4,    928) \
  X(LONG  , read_only,        "READONLY",        4,    932) \
  X(LONG  , password,         "PASSWORD",        4,    936) \
  X(LONG  , text_color,       "TEXTCOLOR",       4,    940) \
  X(LONG  , background,       "BACKGROUND",      4,    944) \
  X(LONG  , selected_text,    "SELECTEDTEXT",    4,    948) \
  X(LONG  , selected_fill,    "SELECTEDFILL",    4,    952) \
  X(STRING, cursor,           "CURSOR",          40,   956) \
  X(STRING, help,             "HELP",            40,   996) \
  X(STRING, tip,              "TIP",             256,  1036) \
  X(STRING, message,          "MESSAGE",         128,  1292) \
  X(LONG  , use_coordinates,  "USECOORDINATES",  4,    1420) \
  X(LONG  , x,                "X",               4,    1424) \
  X(LONG  , y,                "Y",               4,    1428) \
  X(LONG  , width,            "WIDTH",           4,    1432) \
  X(LONG  , height,           "HEIGHT",          4,    1436) \
  X(LONG  , no_width,         "NOWIDTH",         4,    1440) \
  X(LONG  , no_height,        "NOHEIGHT",        4,    1444) \
  X(LONG  , width_type,       "WIDTHTYPE",       4,    1448) \
  X(LONG  , height_type,      "HEIGHTTYPE",      4,    1452) \
  X(STRING, icon,             "ICON",            128,  1456) \
  X(LONG  , boxed,            "BOXED",           4,    1584) \
  X(LONG  , outer,            "OUTER",           4,    1588) \
  X(LONG  , inner,            "INNER",           4,    1592) \
  X(LONG  , style,            "STYLE",           4,    1596) \
  X(LONG  , single,           "SINGLE",          4,    1600) \
  X(STRING, horizontal,       "HORIZONTAL",      20,   1604) \
  X(LONG  , vertical,         "VERTICAL",        4,    1624) \
  X(LONG  , drop,             "DROP",            4,    1628) \
  X(LONG  , drop_width,       "DROPWIDTH",       4,    1632) \
  X(STRING, lower,            "LOWER",           10,   1636) \
  X(STRING, upper,            "UPPER",           10,   1646) \
  X(STRING, step,             "STEP",            10,   1656) \
  X(LONG  , imm,              "IMM",             4,    1666) \
  X(LONG  , delay,            "DELAY",           4,    1670) \
  X(LONG  , repeat,           "REPEAT",          4,    1674) \
  X(STRING, typeface,         "TYPEFACE",        31,   1678) \
  X(LONG  , font_size,        "FONTSIZE",        4,    1709) \
  X(LONG  , font_color,       "FONTCOLOR",       4,    1713) \
  X(LONG  , font_style,       "FONTSTYLE",       4,    1717) \
  X(LONG  , charset,          "CHARSET",         4,    1721) \
  X(STRING, list_box_format,  "LISTBOXFORMAT",   1024, 1725) \
  X(STRING, wallpaper,        "WALLPAPER",       256,  2749) \
  X(LONG  , wallpaper_mode,   "WALLPAPERMODE",   4,    3005) \
  X(LONG  , initial_size,     "INITIALSIZE",     4,    3009) \
  X(LONG  , frame_type,       "FRAMETYPE",       4,    3013) \
  X(LONG  , angle,            "ANGLE",           4,    3017)

#define TWIQ_WIN_FIELDS_LATER(X) \
  X(LONG  , tab_location,     "TABLOCATION",     4,    3021) \
  X(LONG  , tab_scrolling,    "TABSCROLLING",    4,    3025) \
  X(LONG  , text_orientation, "TEXTORIENTATION", 4,    3029) \
  X(LONG  , tab_width,        "TABWIDTH",        4,    3033) \
  X(LONG  , spread,           "SPREAD",          4,    3037) \
  X(LONG  , wizard,           "WIZARD",          4,    3041) \
  X(LONG  , no_sheet,         "NOSHEET",         4,    3045) \
  X(LONG  , join,             "JOIN",            4,    3049) \
  X(LONG  , processed_flag,   "PROCESSEDFLAG",   4,    3053) \
  X(LONG  , up,               "UP",              4,    3057) \
  X(LONG  , down,             "DOWN",            4,    3061) \
  X(LONG  , use_blob,         "USEBLOB",         4,    3065)
// clang-format on

#define TWIQ_WIN_FIELDS(X) TWIQ_WIN_FIELDS_001(X) TWIQ_WIN_FIELDS_LATER(X)

#endif  // TWIQLIB_STORE_WIN_FIELDS_H_
