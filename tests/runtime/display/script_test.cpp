#include "runtime/display/headless/script.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/display/headless/headless_display.h"
#include "runtime/event/accept.h"
#include "runtime/event/event_codes.h"
#include "runtime/event/keycodes.h"
#include "runtime/event/runtime_thread.h"
#include "runtime/window/definition.h"
#include "runtime/window/property_codes.h"
#include "twiqdemo/windows/demo_windows.h"

namespace rt {
namespace {

TEST(ScriptTest, BadScriptsAreRefusedWithTheLineBeforeAnythingRuns) {
  struct Case {
    const char* script;
    const char* error;
  };
  const Case cases[] = {
      {"wait\njump 1 2", "line 2: unknown command \"jump\""},
      {"# comment\n\nclick", "line 3: click: expected [left|right] and X Y or a control label"},
      {"click middle 1 2", "line 1: click: expected [left|right]"},
      {"move 1 two", "line 1: move: expected X Y or a control label"},
      {"key Ctrl+Q+", "line 1: key: unknown key \"Ctrl+Q+\""},
      {"type \"abc", "line 1: unterminated quoted text"},
      {"type a b", "line 1: type takes one text"},
      {"answer message Maybe", "line 1: answer message takes a button"},
      {"answer popup -1", "line 1: answer popup takes an item number"},
      {"answer colour red", "line 1: answer colour takes a colour value or cancel"},
      {"answer printer", "line 1: answer: unknown dialog \"printer\""},
      {"expect ?A Nothing 1", "line 1: expect: unknown property \"Nothing\""},
      {"expect A Text 1", "line 1: expect takes a control label (or window)"},
      {"quit now", "line 1: quit takes no arguments"},
      {"tab ?SHEET 0", "line 1: tab takes a sheet's label and a tab number from 1"},
      {"choose LIST 2", "line 1: choose takes a drop list's or combo's label and a row number"},
      {"resize Form 10", "line 1: resize takes a window name and a client width and height"},
      {"resize Form 10 -5", "line 1: resize takes a window name and a client width and height"},
  };
  for (const Case& c : cases) {
    std::vector<ScriptCommand> commands;
    const Status s = ParseScript(c.script, &commands);
    EXPECT_FALSE(s.ok()) << c.script;
    EXPECT_EQ(s.message().rfind(c.error, 0), 0u) << c.script << " -> " << s.message();
  }
}

TEST(ScriptTest, WordsQuotesAndCommentsParse) {
  std::vector<ScriptCommand> commands;
  ASSERT_TRUE(ParseScript("  type \"say \\\"hi\\\"\\n\"  # a comment\n"
                          "click right 10 -5\nkey Ctrl+Alt+D Esc 0x644\n"
                          "answer message yes \"Do you want\"\nexpect window Text \"A # b\"",
                          &commands)
                  .ok());
  ASSERT_EQ(commands.size(), 5u);
  EXPECT_EQ(commands[0].line, 1);
  EXPECT_EQ(commands[0].args, (std::vector<std::string>{"say \"hi\"\n"}));
  EXPECT_EQ(commands[1].args, (std::vector<std::string>{"right", "10", "-5"}));
  EXPECT_EQ(commands[2].args, (std::vector<std::string>{"Ctrl+Alt+D", "Esc", "0x644"}));
  EXPECT_EQ(commands[3].args, (std::vector<std::string>{"message", "yes", "Do you want"}));
  EXPECT_EQ(commands[4].args, (std::vector<std::string>{"window", "Text", "A # b"}));
}

// The demonstration program's Control Window with the event handling it has: OK and Cancel
// close it, Ctrl+Alt+D is an alert key.
void ControlWindowProgram() {
  twiqdemo::ControlWindowVars vars;
  Status status;
  std::shared_ptr<Window> w = BuildWindow(twiqdemo::ControlWindowDefinition(), CurrentThread(),
                                          twiqdemo::Bindings(vars), &status);
  ASSERT_TRUE(w) << status.message();
  ASSERT_TRUE(Open(w->ref()).ok());
  w->Set(0, prop::kAlertKey, key::kCtrlAltD, 255);
  while (Accept(w->ref())) {
    if (Event() == event::kOpenWindow) w->Select(twiqdemo::kControlWindowFirstSelected);
    if (Event() == event::kAccepted &&
        (Field() == twiqdemo::kControlWindowOk || Field() == twiqdemo::kControlWindowCancel)) {
      Post(event::kCloseWindow);
    }
  }
  Close(w->ref());
}

class ScriptFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = ::testing::TempDir() + "script_test_" + std::to_string(getpid());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Runs `script` (with DIR replaced by the test folder) under the headless display.
  int RunScriptFile(std::string script, std::string* err) {
    for (size_t at; (at = script.find("DIR")) != std::string::npos;) script.replace(at, 3, dir_);
    const std::string path = dir_ + "/test.script";
    std::ofstream(path) << script;
    HeadlessDisplay::Options o;
    o.script_path = path;
    o.timeout = std::chrono::seconds(5);
    auto display = std::make_shared<HeadlessDisplay>(o);
    SetDisplay(display);
    ::testing::internal::CaptureStderr();
    const int code = display->Run(ControlWindowProgram);
    *err = ::testing::internal::GetCapturedStderr();
    SetDisplay(nullptr);
    return code;
  }

  std::string Read(const std::string& name) {
    std::stringstream s;
    s << std::ifstream(dir_ + "/" + name).rdbuf();
    return s.str();
  }

  std::string dir_;
};

TEST_F(ScriptFileTest, AScriptDrivesTheControlWindowAndItsDumpShowsTheTypedText) {
  std::string err;
  const int code = RunScriptFile(
      "# type into the test entry, check, dump, press OK\n"
      "window \"Control Window\"\n"
      "click ?TESTENTRY\n"
      "type \"typed by the script\"\n"
      "expect ?TESTENTRY Contents \"typed by the script\"\n"
      "dump DIR/dump.json\n"
      "click ?OKBUTTON\n"
      "expect-no-window \"Control Window\"\n"
      "quit\n",
      &err);
  EXPECT_EQ(code, 0) << err;
  const std::string dump = Read("dump.json");
  EXPECT_NE(dump.find("\"feq\": 11, \"label\": \"?TESTENTRY\", \"type\": \"ENTRY\""),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("\"contents\": \"typed by the script\""), std::string::npos) << dump;
}

TEST_F(ScriptFileTest, AFailingStepEndsTheScriptWithItsLine) {
  struct Case {
    const char* script;
    const char* error;
  };
  const Case cases[] = {
      {"wait\nclick ?NOPE\nquit\n", "line 2: click: no control ?NOPE"},
      {"window \"Control Window\"\nexpect ?TESTENTRY Contents x\n",
       "line 2: expect: ?TESTENTRY Contents is \"\", expected \"x\""},
      {"window Elsewhere\n", "line 1: window: no open window \"Elsewhere\""},
      {"resize Elsewhere 10 10\n", "line 1: resize: no open window \"Elsewhere\""},
  };
  for (const Case& c : cases) {
    std::string err;
    EXPECT_EQ(RunScriptFile(c.script, &err), kScriptFailedExitCode) << c.script;
    EXPECT_NE(err.find(c.error), std::string::npos) << c.script << "\n" << err;
  }
}

TEST_F(ScriptFileTest, AnUnknownCommandRunsNothing) {
  std::string err;
  EXPECT_EQ(RunScriptFile("dump DIR/before.json\nfly away\n", &err), kScriptFailedExitCode);
  EXPECT_NE(err.find("line 2: unknown command \"fly\""), std::string::npos) << err;
  EXPECT_EQ(Read("before.json"), "") << "the script did not start";
}

}  // namespace
}  // namespace rt
