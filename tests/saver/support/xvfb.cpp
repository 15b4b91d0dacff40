#include "tests/saver/support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace testsupport {

Xvfb::Xvfb() {
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    std::string fd = std::to_string(fds[1]);
    int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    dup2(devNull, 2);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-noreset",
           "-nolisten", "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    return;
  }
  std::string number;
  pollfd waitFor{fds[0], POLLIN, 0};
  char c = 0;
  while (poll(&waitFor, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return;
  display_ = ":" + number;
  setenv("DISPLAY", display_.c_str(), 1);

  char pattern[] = "/tmp/tovarel-xdg-XXXXXX";  // mkdtemp makes it 0700
  if (mkdtemp(pattern) != nullptr) {
    runtimeDir_ = pattern;
    setenv("XDG_RUNTIME_DIR", runtimeDir_.c_str(), 1);
  }
  setenv("QT_QPA_PLATFORM", "xcb", 1);
}

Xvfb::~Xvfb() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (!runtimeDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(runtimeDir_, ignored);
  }
}

}  // namespace testsupport
