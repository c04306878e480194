#include "runtime/program/program.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace rt {
namespace {

// When started with TWIQ_PRINT_EXECUTABLE_PATH set, the test program only prints what
// ExecutablePath() reports and ends, before any test runs: the child of the test below.
const bool kPrintOnly = [] {
  if (std::getenv("TWIQ_PRINT_EXECUTABLE_PATH") == nullptr) return false;
  std::printf("%s", ExecutablePath().c_str());
  std::fflush(stdout);
  _exit(0);
}();

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

TEST(ExecutablePathTest, IsTheRunningFileWhateverTheCurrentFolder) {
  std::string before = ExecutablePath();
  EXPECT_TRUE(std::filesystem::path(before).is_absolute()) << before;
  EXPECT_TRUE(SameFile(before, "/proc/self/exe")) << before;
  EXPECT_EQ(std::filesystem::path(before).filename(), "test_runtime_program");

  std::filesystem::path cwd = std::filesystem::current_path();
  ASSERT_EQ(chdir("/"), 0);
  EXPECT_EQ(ExecutablePath(), before);
  std::filesystem::current_path(cwd);
}

// Started through a symbolic link, with a made-up argv[0] and another current folder, the
// child still reports the real file.
TEST(ExecutablePathTest, IgnoresCommandLineAndLinks) {
  std::string self = ExecutablePath();
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("twiq_exe_test_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::path link = dir / "alias";
  std::filesystem::create_symlink(self, link);

  int out[2];
  ASSERT_EQ(pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string env_flag = "TWIQ_PRINT_EXECUTABLE_PATH=1";
  std::vector<char*> env;
  for (char** e = environ; *e != nullptr; ++e) env.push_back(*e);
  env.push_back(env_flag.data());
  env.push_back(nullptr);
  char argv0[] = "not/the/program";
  char* argv[] = {argv0, nullptr};
  std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir);  // the child inherits it
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, link.c_str(), &actions, nullptr, argv, env.data());
  std::filesystem::current_path(cwd);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  ASSERT_EQ(spawned, 0);

  std::string reported;
  char chunk[256];
  for (ssize_t n; (n = read(out[0], chunk, sizeof chunk)) > 0;) reported.append(chunk, n);
  close(out[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(reported, self);
  std::filesystem::remove_all(dir);
}

// Runs `action` with standard error redirected to `fd`, then restores it.
template <class Action>
void WithStderr(int fd, Action action) {
  int saved = dup(STDERR_FILENO);
  ASSERT_GE(saved, 0);
  ASSERT_GE(dup2(fd, STDERR_FILENO), 0);
  action();
  dup2(saved, STDERR_FILENO);
  close(saved);
}

std::string ReadAvailable(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  std::string s;
  char chunk[64];
  for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) s.append(chunk, n);
  return s;
}

TEST(BeepTest, DefaultRingsOnlyATerminal) {
  // Not a terminal: nothing is written.
  int p[2];
  ASSERT_EQ(pipe(p), 0);
  WithStderr(p[1], [] { Beep(800, 100); });
  EXPECT_EQ(ReadAvailable(p[0]), "");
  close(p[0]);
  close(p[1]);

  // A terminal: the bell character.
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  WithStderr(slave, [] { Beep(); });
  pollfd ready{master, POLLIN, 0};
  ASSERT_EQ(poll(&ready, 1, 5000), 1) << "the bell reaches the terminal";
  EXPECT_EQ(ReadAvailable(master), "\a");
  close(slave);
  close(master);
}

TEST(BeepTest, HandlerReplacesDefaultAndNeverThrows) {
  std::vector<std::pair<int, int>> calls;
  EXPECT_FALSE(SetBeepHandler([&](int f, int d) { calls.push_back({f, d}); }));
  Beep(440, 250);
  Beep();
  EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{440, 250}, {0, 0}}));

  BeepHandler previous = SetBeepHandler([](int, int) { throw std::runtime_error("no sound"); });
  EXPECT_TRUE(previous);
  EXPECT_NO_THROW(Beep(1, 1));

  SetBeepHandler(nullptr);  // default again
  EXPECT_EQ(calls.size(), 2u);
}

}  // namespace
}  // namespace rt
