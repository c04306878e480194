#include "twiqlib/store/warnings.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/keyfile/errors.h"
#include "tests/twiqlib/store/message_box_script.h"
#include "twiqlib/store/file_error.h"

namespace twiq {
namespace {

using testing::MessageBoxScript;

// A kept "record not found" error: every row below describes it as [error].
const FileError kNotFound{35, "Record not found", "0", ""};
constexpr const char* kError = "Record not found (35)";

struct RowCase {
  int32_t number;
  const char* a;
  const char* b;
  const char* caption;
  MessageIcon icon;
  int buttons;
  int default_button;
  std::string text;
};

class WarningsTest : public ::testing::Test {
 protected:
  void SetUp() override { TakeKeptFileError(); }
  void TearDown() override { TakeKeptFileError(); }
};

// Every row that returns: exact caption, icon, buttons, default and text, texts A and B
// trimmed, the kept error described and consumed.
TEST_F(WarningsTest, RowsShowTheirBoxExactly) {
  const std::string e = kError;
  constexpr auto kExcl = MessageIcon::kExclamation;
  constexpr auto kQuest = MessageIcon::kQuestion;
  const RowCase rows[] = {
      {14, "", "", "Record Insert Error", kExcl, 1, 1,
       "An error was experienced during the update of record.  Error: " + e + "."},
      {15, "WindowControls   ", "", "Update Operation Error", kExcl, 1, 1,
       "An error (" + e +
           ") was experienced when attempting to update a record from the file.  Probable "
           "Cause: WindowControls."},
      {16, "", "", "Record Update Error", kExcl, 70, 64,
       "An error was experienced changing this record.  Do you want to try to save again?"},
      {17, "WindowControls", "", "Delete Operation Error", kExcl, 1, 1,
       "An error (" + e +
           ") was experienced when attempting to delete a record from the file "
           "WindowControls."},
      {18, "", "", "Record Update Error", kExcl, 70, 64,
       "An error was experienced deleting this record.  Do you want to try to save again?"},
      {23, "", "", "Update Cancelled", kQuest, 6, 4, "Are you sure you want to cancel?"},
      {24, "WIN:KeyUID", "", "Duplicate Key Error", kExcl, 1, 1,
       "Adding this record creates a duplicate entry for the key:WIN:KeyUID"},
      {25, "", "", "Auto Increment Error", kExcl, 80, 64,
       "Attempts to automatically number this record have failed.  Error: " + e + "."},
      {30, "/data/demo.twiq ", "", "File Access Error", kExcl, 1, 1,
       "File (/data/demo.twiq) could not be opened.  Error: " + e + "."},
      {32, "", "", "Confirm Delete", kQuest, 65, 64,
       "You've selected to delete the highlighted record.  Press OK to confirm deletion of "
       "this record."},
      {34, "Update ", "WindowControls ", "Transaction Framing Error", kExcl, 1, 1,
       "Error: (" + e +
           ") attempting to frame the update transaction on WindowControls.  Update "
           "transaction cancelled."},
      {34, "Delete", "WindowControls", "Transaction Framing Error", kExcl, 1, 1,
       "Error: (" + e +
           ") attempting to frame the delete transaction on WindowControls.  Delete "
           "transaction cancelled."},
      {35, "WindowControls", "", "Record Retrieval Error", kExcl, 1, 1,
       "Error: (" + e +
           ") attempting to access a record from the WindowControls file.  Returning to "
           "previous window."},
      {36, "", "", "View Open Error", kExcl, 1, 1,
       "Error: (" + e + ") attempting to open the current VIEW. Filter and Range Limits ignored."},
      {38, "", "", "Record Was Not Updated", kExcl, 1, 1,
       "This record was changed by another station. Those changes will now be displayed. Use "
       "the Ditto Button or Ctrl+' to recall your changes."},
  };
  for (const RowCase& row : rows) {
    SCOPED_TRACE("warning " + std::to_string(row.number));
    MessageBoxScript boxes;
    KeepFileError(kNotFound);
    EXPECT_EQ(ShowWarning(row.number, row.a, row.b), row.default_button);
    const std::vector<MessageBoxRequest> shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    const MessageBoxRequest& box = shown[0];
    EXPECT_EQ(box.caption, row.caption);
    EXPECT_EQ(box.icon, row.icon);
    EXPECT_EQ(box.buttons, row.buttons);
    EXPECT_EQ(box.default_button, row.default_button);
    EXPECT_EQ(box.style, 0);
    EXPECT_EQ(box.text, row.text);
    EXPECT_EQ(PeekKeptFileError().code, 0) << "the kept error is consumed";
  }
}

// Questions return the button pressed.
TEST_F(WarningsTest, QuestionsReturnTheAnswer) {
  MessageBoxScript boxes({kButtonYes, kButtonRetry, kButtonOk});
  EXPECT_EQ(ShowWarning(kWarnRecordUpdateError), kButtonYes);
  EXPECT_EQ(ShowWarning(kWarnAutoIncrementError), kButtonRetry);
  EXPECT_EQ(ShowWarning(kWarnConfirmDelete), kButtonOk);
}

// Warning 15 tells a change by another station (code 89, or no error at all) from other
// errors, whether the code was kept or is the thread's current one.
TEST_F(WarningsTest, UpdateErrorTellsChangedRecordApart) {
  const char* kChanged = "This record was changed by another station.";
  struct Case {
    FileError kept;
    const char* a;
    std::string text;
  } cases[] = {
      {{89, "Record changed by another station", "0", ""},
       "Record Changed by Another Station",
       kChanged},
      {{40, "Creates duplicate key", "0", ""},
       "WindowControls",
       "An error (Creates duplicate key (40)) was experienced when attempting to update a "
       "record from the file.  Probable Cause: WindowControls."},
  };
  for (const Case& c : cases) {
    MessageBoxScript boxes;
    KeepFileError(c.kept);
    ShowWarning(kWarnUpdateOperationError, c.a);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, c.text);
  }
  // Nothing kept and no current error (this thread ran no failing driver call).
  EXPECT_EQ(ComposeWarning(15, "WindowControls", "", " (0)", 0).box.text, kChanged);
}

// Driver failures (90, 100) are described by the driver's message and code; the second
// warning after a kept error describes the current error, the kept one being consumed.
TEST_F(WarningsTest, DescriptionRules) {
  EXPECT_EQ(DescribeFileError({90, "Driver error", "26  ", "file is not a database  "}),
            "file is not a database (26)");
  EXPECT_EQ(DescribeFileError({100, "ignored", "7", "out of memory"}), "out of memory (7)");
  EXPECT_EQ(DescribeFileError({35, "Record not found  ", "0", "ignored"}), "Record not found (35)");
  EXPECT_EQ(DescribeFileError({33, std::string(400, 'x'), "0", ""}).size(), kDescriptionLimit);

  MessageBoxScript boxes;
  KeepFileError({90, "Driver error", "26", "file is not a database"});
  ShowWarning(kWarnFileAccessError, "/data/demo.twiq");
  ShowWarning(kWarnFileAccessError, "/data/demo.twiq");
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[0].text,
            "File (/data/demo.twiq) could not be opened.  Error: file is not a database (26).");
  const std::string current = DescribeFileError(CurrentFileError());
  EXPECT_EQ(boxes.shown()[1].text,
            "File (/data/demo.twiq) could not be opened.  Error: " + current + ".");
}

TEST_F(WarningsTest, KeptTextsAreCut) {
  KeepFileError({90, std::string(300, 't'), std::string(300, '1'), std::string(300, 'm')});
  FileError kept = TakeKeptFileError();
  EXPECT_EQ(kept.text.size(), kFileErrorTextLimit);
  EXPECT_EQ(kept.driver_code.size(), kFileErrorTextLimit);
  EXPECT_EQ(kept.driver_message.size(), kFileErrorTextLimit);
  EXPECT_EQ(TakeKeptFileError().code, 0);
}

struct EndCase {
  int32_t number;
  int answer;
  const char* text;  // the box's text
  const char* halt;  // the text HALT shows
};

// The rows that end the program: the box first, then HALT with exit code 0.
TEST_F(WarningsTest, FatalRowsEndTheProgram) {
  const std::string end = ".  Press OK to end this application.";
  const EndCase cases[] = {
      {1, kButtonOk, "Error: (Record not found (35)) accessing /d/x.twiq", "Invalid File!"},
      {2, kButtonNo, "/d/x.twiq key file is invalid.  Do you want to rebuild the key?",
       "Invalid Key!"},
      {3, kButtonOk, "Error: (Record not found (35)) repairing key for /d/x.twiq",
       "Error Rebuilding Key!"},
      {4, kButtonOk, "Error: (Record not found (35)) creating /d/x.twiq", "File Creation Error!"},
      {5, kButtonOk, "Error: (Record not found (35)) opening created file:/d/x.twiq",
       "File Creation Error!"},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE("warning " + std::to_string(c.number));
    std::string box_text = c.text;
    if (c.number != 2) box_text += end;
    EXPECT_EXIT(
        {
          MessageBoxScript boxes({c.answer});
          KeepFileError(kNotFound);
          ShowWarning(c.number, "/d/x.twiq  ");
          // Not reached: reported through the exit code.
          std::fprintf(stderr, "returned\n");
          std::_Exit(3);
        },
        ::testing::ExitedWithCode(0), std::string("^") + c.halt + "\n$");
    // The box itself, composed without ending the program.
    WarningBox w = ComposeWarning(c.number, "/d/x.twiq", "", kError, 35);
    EXPECT_EQ(w.box.text, box_text);
    EXPECT_EQ(w.halt_text, c.halt);
  }
  // Warning 2 answered Yes, or closed any other way, returns 2.
  for (int answer : {kButtonYes, kButtonCancel, 0}) {
    MessageBoxScript boxes({answer});
    EXPECT_EQ(ShowWarning(kWarnInvalidKey, "/d/x.twiq"), 2);
    EXPECT_EQ(boxes.shown()[0].icon, MessageIcon::kQuestion);
    EXPECT_EQ(boxes.shown()[0].buttons, kButtonYes + kButtonNo);
    EXPECT_EQ(boxes.shown()[0].default_button, kButtonYes);
  }
}

}  // namespace
}  // namespace twiq
