// Starting a program by its path: what cannot start gives nothing, what
// starts is reaped by Running, takes no descriptor of ours along and dies
// with its starter.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "saver/toolkit/posix/spawn.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/toolkit/toolkit_fixture.h"

namespace {

using toolkit::posix::ChildProcess;
using toolkit::posix::StartProgram;
using namespace std::chrono_literals;

std::string Script(const testsupport::TempDir& folder, const char* name, const std::string& body,
                   mode_t mode = 0755) {
  const std::string path = folder.File(name);
  testsupport::WriteBytes(path, body);
  chmod(path.c_str(), mode);
  return path;
}

bool WaitUntilEnded(ChildProcess& process) { return process.WaitForEnd(5000); }

TEST(StartProgram, WhatCannotRunGivesNothing) {
  testsupport::TempDir folder;
  struct Case {
    const char* what;
    std::string path;
  };
  const Case cases[] = {
      {"missing", folder.File("Tovarel.dll")},
      {"not executable", Script(folder, "plain", "#!/bin/sh\nexit 0\n", 0644)},
      {"not a program", Script(folder, "text", "no program here\n")},
      {"a folder", folder.Path()},
      {"empty", ""},
      {"interpreter missing", Script(folder, "odd", "#!/no/such/shell\n")},
  };
  for (const Case& c : cases) EXPECT_EQ(StartProgram(c.path), nullptr) << c.what;
  int status = 0;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1) << "a failed start left a child behind";
}

TEST(StartProgram, RunsThePathItselfAndIsReapedOnceEnded) {
  testsupport::TempDir folder;
  const std::string out = folder.File("args");
  // The program sees only its own path; a shell would have split the name.
  const std::string path = Script(folder, "with space;and$dollar", "#!/bin/sh\necho \"$0|$#\" > '" + out + "'\nsleep 0.2\n");
  auto process = StartProgram(path);
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(process->Running());
  ASSERT_TRUE(WaitUntilEnded(*process));
  EXPECT_EQ(testsupport::ReadBytes(out), path + "|0\n");
  EXPECT_EQ(kill(process->Pid(), 0), -1) << "no zombie: the child has been reaped";
  EXPECT_EQ(errno, ESRCH);
}

// The end descriptor wakes an event loop however the program ends.
TEST(StartProgram, ItsEndDescriptorTellsOfTheEnd) {
  testsupport::TempDir folder;
  const struct {
    const char* script;
    bool killed;
  } cases[] = {{"exit 3", false}, {"exec sleep 30", true}};
  for (const auto& c : cases) {
    auto process = StartProgram(Script(folder, "end", std::string("#!/bin/sh\n") + c.script + "\n"));
    ASSERT_NE(process, nullptr);
    const int fd = process->EndDescriptor();
    ASSERT_GE(fd, 0) << c.script;
    if (c.killed) {
      EXPECT_FALSE(process->WaitForEnd(50)) << "still running";
      kill(process->Pid(), SIGKILL);
    }
    pollfd ended{fd, POLLIN, 0};
    EXPECT_EQ(poll(&ended, 1, 5000), 1) << c.script;
    EXPECT_TRUE(process->WaitForEnd(5000));
    EXPECT_FALSE(process->Running());
  }
}

TEST(StartProgram, OnlyTheStandardDescriptorsGoAlong) {
  testsupport::TempDir folder;
  int leaky[2];
  ASSERT_EQ(pipe(leaky), 0);  // without close-on-exec, as a library might open one
  const std::string out = folder.File("fds");
  auto process = StartProgram(Script(folder, "fds", "#!/bin/sh\nexec ls /proc/self/fd > '" + out + "'\n"));
  ASSERT_NE(process, nullptr);
  ASSERT_TRUE(WaitUntilEnded(*process));
  close(leaky[0]);
  close(leaky[1]);
  std::istringstream listed(testsupport::ReadBytes(out));
  std::vector<int> fds;
  for (int fd; listed >> fd;) fds.push_back(fd);
  // ls's own directory descriptor is the one beyond the standard three.
  EXPECT_LE(fds.size(), 4u);
  for (int fd : fds) {
    EXPECT_TRUE(fd <= 3) << "descriptor " << fd << " leaked into the program";
  }
}

TEST(StartProgram, TheProgramIsTerminatedWhenItsStarterDies) {
  testsupport::TempDir folder;
  const std::string sleeper = Script(folder, "sleeper", "#!/bin/sh\nexec sleep 30\n");
  // Orphans come to us, so that we can see how the program ended.
  ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t starter = fork();
  if (starter == 0) {
    auto process = StartProgram(sleeper);
    const pid_t pid = process ? process->Pid() : -1;
    [[maybe_unused]] ssize_t written = write(report[1], &pid, sizeof pid);
    pause();
    _exit(0);
  }
  pid_t program = -1;
  ASSERT_EQ(read(report[0], &program, sizeof program), static_cast<ssize_t>(sizeof program));
  close(report[0]);
  close(report[1]);
  ASSERT_GT(program, 0);
  kill(starter, SIGKILL);
  waitpid(starter, nullptr, 0);
  int status = 0;
  pid_t ended = 0;
  for (int i = 0; i < 500 && ended == 0; ++i) {
    ended = waitpid(program, &status, WNOHANG);
    if (ended == 0) std::this_thread::sleep_for(10ms);
  }
  prctl(PR_SET_CHILD_SUBREAPER, 0);
  if (ended == 0) kill(program, SIGKILL);
  ASSERT_EQ(ended, program) << "the program outlived its starter";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
}

TEST(OpenUrl, HandsTheAddressToTheDesktopsHandlerAsOneArgument) {
  testsupport::TempDir folder;
  const std::string out = folder.File("opened");
  // printf is the shell's own: the search path below holds only this folder.
  Script(folder, "xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" + out + "'\n");
  const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", folder.Path().c_str(), 1);
  const std::string url = "https://tovarel.jp/a b;c$(d)";
  const std::int32_t opened = toolkittest::App().OpenUrl(0, url);
  const std::int32_t refused = toolkittest::App().OpenUrl(0, "--version");
  setenv("PATH", "/nonexistent", 1);
  const std::int32_t missing = toolkittest::App().OpenUrl(0, "https://tovarel.jp/");
  setenv("PATH", path.c_str(), 1);
  EXPECT_GT(opened, 32);
  EXPECT_LE(refused, 32) << "an option is not an address";
  EXPECT_LE(missing, 32);
  for (int i = 0; i < 500 && testsupport::ReadBytes(out).empty(); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(testsupport::ReadBytes(out), "1|" + url);
}

}  // namespace
