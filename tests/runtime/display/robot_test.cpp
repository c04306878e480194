#include "runtime/display/headless/robot.h"

#include <gtest/gtest.h>

#include "runtime/dialog/dialog.h"
#include "runtime/display/headless/headless_display.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/idle.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/window/definition_codes.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/window_registry.h"
#include "tests/runtime/display/headless_program_test.h"
#include "tests/runtime/event/event_test_util.h"

namespace rt {
namespace {

using testing::AddControl;
using testing::Log;
using testing::MakeWindow;

constexpr int kOpenNested = 0x3FE;
constexpr int kAskColourAndFile = 0x3FD;

// A small form on a runtime thread: ?SAVE asks a question, the right button opens a pop-up
// menu, ?NAME takes text. The fixture is the user.
class RobotTest : public testing::HeadlessProgramTest {
 protected:
  void Program() override {
    auto w = MakeWindow("Form", 50, 40, 300, 200);
    w->Set(0, prop::kText, "Robot Form");
    AddControl(*w, 1, ControlType::kEntry, "?NAME", 10, 10, 100, 20, 0, VarRef::Text(&name_));
    AddControl(*w, 2, ControlType::kButton, "?SAVE", 10, 40, 60, 20);
    w->Set(0, prop::kAlertKey, key::kMouseRight, 1);
    struct MenuItem {
      int feq;
      const char* label;
      const char* text;
      const char* action;
    };
    for (const MenuItem& m :
         {MenuItem{-10, "?Twiq", "&Twiq", ""}, MenuItem{-11, "?Exit", "E&xit", "STD:Exit"},
          MenuItem{-12, "?Cut", "Cu&t", "STD:Cut"}}) {
      ASSERT_TRUE(w->AddControl({m.feq, ControlType::kItem, m.label, 0, {}}).ok());
      w->Set(m.feq, prop::kText, m.text);
      if (*m.action) w->Set(m.feq, prop::kStdAction, m.action);
    }
    ASSERT_TRUE(Open(w->ref()).ok());
    while (Accept(w->ref())) {
      if (Event() == event::kAccepted && Field() < 0) {
        log_.Add("menu " + std::to_string(Field()));
      } else if (Event() == event::kAccepted && Field() == 2) {
        const int b = MessageBox("Save changes?|Really", "Twiq", "Question",
                                 button::kYes | button::kNo, button::kYes);
        log_.Add("save " + std::string(button::ButtonName(b)));
      } else if (Event() == event::kAlertKey && KeyCode() == key::kMouseRight) {
        const int item = Popup("Edit|-|~Greyed|Quit");
        log_.Add("popup " + std::to_string(item));
        if (item == 3) Post(event::kCloseWindow);
      } else if (Event() == kAskColourAndFile) {
        int64_t colour = 5;
        std::string file = "old.twiq";
        const bool c = ColourDialog("Text colour", colour);
        const bool f = FileDialog("Open settings", file, "Settings|*.twiq");
        log_.Add(std::to_string(c) + " " + std::to_string(colour) + " " + std::to_string(f) + " " +
                 file);
      } else if (Event() == kOpenNested) {
        auto inner = MakeWindow("Inner", 400, 40, 100, 100);
        ASSERT_TRUE(Open(inner->ref()).ok());
        while (Accept(inner->ref())) {
        }
      }
    }
  }

  std::string name_;
  Log log_;
};

TEST_F(RobotTest, AnswersMessageBoxesAndPopUps) {
  robot_->AnswerMessage(button::kNo, "Save changes?");
  ASSERT_TRUE(robot_->Click(MouseButton::kLeft, "?SAVE").ok());
  robot_->AnswerPopup(1, "Edit");
  const WindowRef form = robot_->FindWindowNamed("Robot Form");
  ASSERT_NE(form, 0);
  ASSERT_TRUE(robot_->Click(MouseButton::kRight, form, 200, 150).ok());
  EXPECT_EQ(log_.lines(), (std::vector<std::string>{"save No", "popup 1"}));
  EXPECT_EQ(display_->DialogHistory(),
            (std::vector<std::string>{"message box \"Twiq\": Save changes? / Really",
                                      "pop-up menu: 1=Edit 2=~Greyed 3=Quit"}));
  EXPECT_EQ(display_->PreparedCount(), 0u);
  // Choosing Quit closes the form.
  robot_->AnswerPopup(3);
  ASSERT_TRUE(robot_->Click(MouseButton::kRight, form, 200, 150).ok());
  EXPECT_EQ(robot_->FindWindowNamed("Robot Form"), 0);
}

TEST_F(RobotTest, MenuItemsAreAcceptedOrPerformTheirStandardAction) {
  ASSERT_TRUE(robot_->ChooseMenu("&Twiq").ok());
  ASSERT_TRUE(robot_->ChooseMenu("twiq").ok());  // without its "&", case ignored
  robot_->AnswerMessage(button::kOk, "not available");
  ASSERT_TRUE(robot_->ChooseMenu("Cut").ok());  // the runtime's own answer, no event
  EXPECT_EQ(log_.lines(), (std::vector<std::string>{"menu -10", "menu -10"}));
  EXPECT_FALSE(robot_->ChooseMenu("Paste").ok());
  ASSERT_TRUE(robot_->ChooseMenu("Exit").ok());
  EXPECT_EQ(robot_->FindWindowNamed("Robot Form"), 0);
}

TEST_F(RobotTest, AnswersColourAndFileDialogs) {
  robot_->AnswerColour(0xFF);
  robot_->AnswerFile(std::nullopt);
  Post(kAskColourAndFile, 0, program_);
  ASSERT_TRUE(robot_->WaitIdle().ok());
  robot_->AnswerColour(std::nullopt);
  robot_->AnswerFile("/tmp/new.twiq");
  Post(kAskColourAndFile, 0, program_);
  ASSERT_TRUE(robot_->WaitIdle().ok());
  EXPECT_EQ(log_.lines(), (std::vector<std::string>{"1 255 0 old.twiq", "0 5 1 /tmp/new.twiq"}));
}

TEST_F(RobotTest, ADialogWithNoAnswerFailsWithItsText) {
  const Status s = robot_->Click(MouseButton::kLeft, "?SAVE");
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message().find("message box with no answer prepared"), std::string::npos)
      << s.message();
  EXPECT_NE(s.message().find("Save changes? / Really"), std::string::npos) << s.message();
  // Nothing hangs: the box was answered with its default button.
  EXPECT_EQ(log_.lines(), (std::vector<std::string>{"save Yes"}));
}

TEST_F(RobotTest, AnAnswerExpectingOtherTextFails) {
  robot_->AnswerMessage(button::kYes, "Delete everything?");
  const Status s = robot_->Click(MouseButton::kLeft, "?SAVE");
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message().find("does not say \"Delete everything?\""), std::string::npos)
      << s.message();
}

TEST_F(RobotTest, TypedTextShowsInTheStateDump) {
  ASSERT_TRUE(robot_->Click(MouseButton::kLeft, "?NAME").ok());
  ASSERT_TRUE(robot_->Type("Hello World").ok());
  const std::string json = robot_->DumpJson();
  EXPECT_NE(json.find("\"label\": \"?NAME\", \"type\": \"ENTRY\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"contents\": \"Hello World\""), std::string::npos) << json;
  // Geometry in both units: 100 x 20 pixels is 67 x 12 dialog units of the 6 x 13 cell.
  EXPECT_NE(json.find("\"pixels\": {\"x\": 10, \"y\": 10, \"width\": 100, \"height\": 20}, "
                      "\"units\": {\"x\": 7, \"y\": 6, \"width\": 67, \"height\": 12}"),
            std::string::npos)
      << json;
  EXPECT_TRUE(name_.empty()) << "not accepted yet";
  ASSERT_TRUE(robot_->Key(key::kTab).ok());
  EXPECT_EQ(name_, "Hello World");
}

TEST_F(RobotTest, ActionsThatCannotBeDoneFailClearly) {
  Status s = robot_->Click(MouseButton::kLeft, "?NOPE");
  EXPECT_EQ(s.code(), Status::Code::kNotFound);
  EXPECT_NE(s.message().find("?NOPE"), std::string::npos);
  EXPECT_FALSE(robot_->Click(MouseButton::kLeft, 424242, 1, 1).ok());

  // A window behind a nested one refuses input.
  const WindowRef form = robot_->FindWindowNamed("Form");
  Post(kOpenNested, 0, program_);
  ASSERT_TRUE(robot_->WaitIdle().ok());
  ASSERT_NE(robot_->FindWindowNamed("Inner"), 0);
  s = robot_->Click(MouseButton::kLeft, form, 20, 20);
  EXPECT_NE(s.message().find("behind window Inner"), std::string::npos) << s.message();
}

TEST_F(RobotTest, WaitingForIdlenessTimesOut) {
  std::atomic<bool> release{false};
  const ThreadId busy = Start([&] {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  HeadlessDisplay::Options o;
  o.timeout = std::chrono::milliseconds(50);
  HeadlessDisplay quick(o);
  Robot impatient(quick);
  const Status s = impatient.WaitIdle();
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.message().find("thread " + std::to_string(busy) + ": busy"), std::string::npos)
      << s.message();
  release = true;
  EXPECT_TRUE(WaitForThreadEnd(busy, testing::kWait));
}

}  // namespace
}  // namespace rt
