#include "twiqlib/store/warnings.h"

#include <string>

#include "runtime/keyfile/errors.h"
#include "runtime/program/halt.h"
#include "runtime/value/text.h"
#include "twiqlib/store/file_error.h"

namespace twiq {
namespace {

constexpr MessageIcon kExclamation = MessageIcon::kExclamation;
constexpr MessageIcon kQuestion = MessageIcon::kQuestion;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

WarningBox Box(std::string caption, MessageIcon icon, int buttons, int default_button,
               std::string text, std::string halt_text = std::string()) {
  WarningBox w;
  w.box.caption = std::move(caption);
  w.box.icon = icon;
  w.box.buttons = buttons;
  w.box.default_button = default_button;
  w.box.text = std::move(text);
  w.halt_text = std::move(halt_text);
  return w;
}

WarningBox Ok(std::string caption, std::string text, std::string halt_text = std::string()) {
  return Box(std::move(caption), kExclamation, kButtonOk, kButtonOk, std::move(text),
             std::move(halt_text));
}

// Rows that the library never raises keep their numbers and titles; they show the error.
const char* UnraisedTitle(int32_t number) {
  switch (number) {
    case 6:
      return "Procedure not defined";
    case 8:
    case 9:
    case 10:
      return "Range Error";
    case 11:
      return "Field Contents Error";
    case 12:
      return "Referential Integrity Update Error";
    case 13:
      return "Referential Integrity Delete Error";
    case 19:
    case 20:
    case 21:
      return "Invalid Request";
    case 22:
      return "File Creation Not Allowed";
    case 26:
    case 28:
      return "File Load Error";
    case 27:
      return "Cancel Request";
    case 29:
      return "End of File Error";
    case 31:
      return "Process PUT Error";
    case 33:
      return "Update Cancelled";
    case 37:
      return "Record Added";
    default:
      return nullptr;
  }
}

}  // namespace

WarningBox ComposeWarning(int32_t number, std::string_view a_text, std::string_view b_text,
                          std::string_view error_view, int32_t error_code) {
  const std::string a = rt::Clip(a_text);
  const std::string b = rt::Clip(b_text);
  const std::string error(error_view);
  const std::string end = ".  Press OK to end this application.";
  switch (number) {
    case kWarnInvalidFile:
      return Ok("Invalid File", "Error: (" + error + ") accessing " + a + end, "Invalid File!");
    case kWarnInvalidKey: {
      WarningBox w =
          Box("Invalid Key", kQuestion, kButtonYes + kButtonNo, kButtonYes,
              a + " key file is invalid.  Do you want to rebuild the key?", "Invalid Key!");
      w.halt_on_no = true;
      return w;
    }
    case kWarnKeyRebuildError:
      return Ok("Key Rebuild Error", "Error: (" + error + ") repairing key for " + a + end,
                "Error Rebuilding Key!");
    case kWarnFileCreationError:
      return Ok("File Creation Error", "Error: (" + error + ") creating " + a + end,
                "File Creation Error!");
    case kWarnCreatedFileOpenError:
      return Ok("File Creation Error", "Error: (" + error + ") opening created file:" + a + end,
                "File Creation Error!");
    case kWarnRecordInsertError:
      return Ok("Record Insert Error",
                "An error was experienced during the update of record.  Error: " + error + ".");
    case kWarnUpdateOperationError:
      if (error_code == 0 || error_code == rt::keyfile::kRecordChanged) {
        return Ok("Update Operation Error", "This record was changed by another station.");
      }
      return Ok("Update Operation Error",
                "An error (" + error +
                    ") was experienced when attempting to update a record from the file.  "
                    "Probable Cause: " +
                    a + ".");
    case kWarnRecordUpdateError:
      return Box("Record Update Error", kExclamation, kButtonYes + kButtonNo + kButtonCancel,
                 kButtonCancel,
                 "An error was experienced changing this record.  Do you want to try to save "
                 "again?");
    case kWarnDeleteOperationError:
      return Ok("Delete Operation Error",
                "An error (" + error +
                    ") was experienced when attempting to delete a record from the file " + a +
                    ".");
    case kWarnRecordDeleteError:
      return Box("Record Update Error", kExclamation, kButtonYes + kButtonNo + kButtonCancel,
                 kButtonCancel,
                 "An error was experienced deleting this record.  Do you want to try to save "
                 "again?");
    case kWarnUpdateCancelled:
      return Box("Update Cancelled", kQuestion, kButtonYes + kButtonNo, kButtonNo,
                 "Are you sure you want to cancel?");
    case kWarnDuplicateKey:
      return Ok("Duplicate Key Error",
                "Adding this record creates a duplicate entry for the key:" + a);
    case kWarnAutoIncrementError:
      return Box(
          "Auto Increment Error", kExclamation, kButtonRetry + kButtonCancel, kButtonCancel,
          "Attempts to automatically number this record have failed.  Error: " + error + ".");
    case kWarnFileAccessError:
      return Ok("File Access Error",
                "File (" + a + ") could not be opened.  Error: " + error + ".");
    case kWarnConfirmDelete:
      return Box("Confirm Delete", kQuestion, kButtonOk + kButtonCancel, kButtonCancel,
                 "You've selected to delete the highlighted record.  Press OK to confirm "
                 "deletion of this record.");
    case kWarnTransactionFramingError:
      return Ok("Transaction Framing Error", "Error: (" + error + ") attempting to frame the " +
                                                 Lower(a) + " transaction on " + b + ".  " + a +
                                                 " transaction cancelled.");
    case kWarnRecordRetrievalError:
      return Ok("Record Retrieval Error", "Error: (" + error +
                                              ") attempting to access a record from the " + a +
                                              " file.  Returning to previous window.");
    case kWarnViewOpenError:
      return Ok("View Open Error",
                "Error: (" + error +
                    ") attempting to open the current VIEW. Filter and Range Limits ignored.");
    case kWarnRecordNotUpdated:
      return Ok("Record Was Not Updated",
                "This record was changed by another station. Those changes will now be "
                "displayed. Use the Ditto Button or Ctrl+' to recall your changes.");
    case 7:
      return Ok("Twiq", "Unable to read keyed record.  Error: " + error + ".");
    default:
      break;
  }
  std::string detail = a.empty() ? std::string() : " " + a;
  if (const char* title = UnraisedTitle(number)) {
    return Ok(title, "Error: (" + error + ")" + detail + ".");
  }
  return Ok("Twiq", "Warning " + std::to_string(number) + ": (" + error + ")" + detail + ".");
}

int32_t ShowWarning(int32_t number, std::string_view a, std::string_view b) {
  FileError error = TakeKeptFileError();
  if (error.code == 0) error = CurrentFileError();
  WarningBox w = ComposeWarning(number, a, b, DescribeFileError(error), error.code);
  w.box.style = 0;
  int answer = ShowMessageBox(w.box);
  if (w.halt_on_no) {
    if (answer == kButtonNo) rt::Halt(0, w.halt_text);
    return kWarnInvalidKey;
  }
  if (!w.halt_text.empty()) rt::Halt(0, w.halt_text);
  return answer;
}

}  // namespace twiq
