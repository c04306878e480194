// The file declarations of the settings file: WIN (the current layout), its alias WIN2 (a
// second handle with its own buffer and position), WIN_002 (the current layout under its own
// prefix) and WIN_001 (the oldest layout, no blob), all generated from win_fields.h and
// bound to the two process-wide variables: the settings file name and its owner password.
//
// Keys, in declaration order (the index is what File::Set/Get/Position take):
//   kKeyUid                    UID                                unique
//   kKeyProcedureMarkerLabel   PROCEDURENAME, UNIQUEMARKER, CONTROLLABEL  duplicates allowed
//   kKeyProcedureMarkerFeq     PROCEDURENAME, UNIQUEMARKER, FEQ           duplicates allowed
//   kOrderKey                  PROCEDURENAME, UNIQUEMARKER, ORDER         duplicates allowed
// String components compare without regard to case; trailing spaces never count.
//
// Thread safety: the declarations are immutable and shared; the variables are internally
// synchronised (TextVariable), so any thread may read or set them.
#ifndef TWIQLIB_STORE_WIN_FILE_H_
#define TWIQLIB_STORE_WIN_FILE_H_

#include <memory>
#include <string>
#include <string_view>

#include "runtime/keyfile/declaration.h"
#include "twiqlib/bindings/export.h"

namespace twiq {

enum WinKey : int {
  kKeyUid = 0,
  kKeyProcedureMarkerLabel = 1,
  kKeyProcedureMarkerFeq = 2,
  kOrderKey = 3,
};

inline constexpr std::string_view kBlobName = "IMAGEBLOB";

// The process-wide settings file name and password (blank when the library is loaded).
TWIQ_INTERNAL_API const std::shared_ptr<rt::keyfile::TextVariable>& SettingsFileNameVariable();
TWIQ_INTERNAL_API const std::shared_ptr<rt::keyfile::TextVariable>& SettingsPasswordVariable();

// The four declarations, bound to the variables above.
TWIQ_INTERNAL_API std::shared_ptr<const rt::keyfile::FileDeclaration> WinDeclaration();
TWIQ_INTERNAL_API std::shared_ptr<const rt::keyfile::FileDeclaration> Win2Declaration();
TWIQ_INTERNAL_API std::shared_ptr<const rt::keyfile::FileDeclaration> Win002Declaration();
TWIQ_INTERNAL_API std::shared_ptr<const rt::keyfile::FileDeclaration> Win001Declaration();

// A declaration of the current (or the oldest) layout under `prefix`, bound to the given
// variables: for programs that work on settings files other than the process's own (the
// settings-file tool, conversions).
TWIQ_INTERNAL_API std::shared_ptr<const rt::keyfile::FileDeclaration> MakeWinDeclaration(
    std::string prefix, std::shared_ptr<rt::keyfile::TextVariable> file_name,
    std::shared_ptr<rt::keyfile::TextVariable> password);
TWIQ_INTERNAL_API std::shared_ptr<const rt::keyfile::FileDeclaration> MakeWin001Declaration(
    std::string prefix, std::shared_ptr<rt::keyfile::TextVariable> file_name,
    std::shared_ptr<rt::keyfile::TextVariable> password);

}  // namespace twiq

#endif  // TWIQLIB_STORE_WIN_FILE_H_
