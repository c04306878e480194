#include "runtime/program/halt.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

namespace rt {
namespace {

void PrintingHandler(const FatalMessage& m) {
  std::fprintf(stderr, "[box %s %d] %s\n", m.kind == FatalMessage::Kind::kHalt ? "halt" : "stop",
               m.exit_code, m.text.c_str());
}

struct EndCase {
  const char* name;
  FatalMessageHandler handler;  // empty: the default
  std::function<void()> end;
  int exit_code;
  const char* stderr_regex;
};

// Every way of ending: exit code and what reaches the user (standard error stands in for the
// message box of a display).
TEST(HaltDeathTest, EndsWithCodeAfterMessage) {
  const EndCase cases[] = {
      {"halt, default handler", {}, [] { Halt(3, "Invalid File!"); }, 3, "^Invalid File!\n$"},
      {"halt 0", {}, [] { Halt(0, "Disk Error"); }, 0, "^Disk Error\n$"},
      {"halt, blank text shows nothing", {}, [] { Halt(7, "   "); }, 7, "^$"},
      {"halt, no text", {}, [] { Halt(0); }, 0, "^$"},
      {"stop", {}, [] { Stop("write failed"); }, kStopExitCode, "^write failed\n$"},
      {"stop, blank text is still shown", {}, [] { Stop(""); }, kStopExitCode, "^\n$"},
      {"halt through handler", &PrintingHandler, [] { Halt(2, "Invalid Key!"); }, 2,
       "^\\[box halt 2\\] Invalid Key!\n$"},
      {"stop through handler", &PrintingHandler, [] { Stop("Gone"); }, kStopExitCode,
       "^\\[box stop 1\\] Gone\n$"},
      {"handler that throws: the text still reaches stderr",
       [](const FatalMessage&) { throw std::runtime_error("display gone"); },
       [] { Halt(4, "lost?"); }, 4, "^lost\\?\n$"},
      {"halt inside the handler ends at once",
       [](const FatalMessage& m) {
         PrintingHandler(m);
         Halt(9, "second");
       },
       [] { Halt(5, "first"); }, 9, "^\\[box halt 5\\] first\nsecond\n$"},
      {"handler removed again",
       {},
       [] {
         SetFatalMessageHandler(&PrintingHandler);
         SetFatalMessageHandler(nullptr);
         Halt(6, "plain");
       },
       6,
       "^plain\n$"},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EXIT(
        {
          SetFatalMessageHandler(c.handler);
          c.end();
        },
        ::testing::ExitedWithCode(c.exit_code), c.stderr_regex);
  }
}

TEST(HaltTest, SetHandlerReturnsPrevious) {
  EXPECT_FALSE(SetFatalMessageHandler(&PrintingHandler));
  EXPECT_TRUE(SetFatalMessageHandler(nullptr));
  EXPECT_FALSE(SetFatalMessageHandler(nullptr));
}

}  // namespace
}  // namespace rt
