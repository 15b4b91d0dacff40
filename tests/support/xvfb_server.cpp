#include "tests/support/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace testsupport {

XvfbServer::XvfbServer(const std::string& screen, const std::vector<std::string>& extra) {
  char dirTemplate[] = "/tmp/tovarel-xdg-XXXXXX";
  if (char* dir = mkdtemp(dirTemplate)) {
    runtimeDir_ = dir;
    chmod(dir, 0700);
    setenv("XDG_RUNTIME_DIR", dir, 1);
  }
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    const std::string fd = std::to_string(fds[1]);
    std::vector<const char*> argv{"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                                  "-noreset", "-nolisten", "tcp"};
    for (const std::string& arg : extra) argv.push_back(arg.c_str());
    argv.push_back(nullptr);
    execvp("Xvfb", const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    return;
  }
  std::string number;
  pollfd wait{fds[0], POLLIN, 0};
  while (poll(&wait, 1, 20000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (!number.empty()) {
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
  }
}

XvfbServer::~XvfbServer() {
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
