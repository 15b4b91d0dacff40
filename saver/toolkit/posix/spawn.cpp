#include "saver/toolkit/posix/spawn.h"

#include <fcntl.h>
#include <pthread.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <cstdlib>
#include <string_view>

namespace toolkit::posix {
namespace {

// Only async-signal-safe calls between fork and exec: Qt's threads may hold
// locks (malloc's among them) at the moment of the fork.
[[noreturn]] void ExecChild(const char* path, char* const argv[], int errorFd, pid_t parent,
                            bool dieWithParent) {
  if (dieWithParent) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);  // the parent is already gone
  }
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig) sigaction(sig, &defaultAction, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  // Every descriptor beyond the standard three closes on exec; the error
  // pipe is one of them.
  if (syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
    for (int fd = 3; fd < 65536; ++fd) {
      if (fd != errorFd) close(fd);
    }
  }
  execv(path, argv);
  int error = errno;
  while (write(errorFd, &error, sizeof error) < 0 && errno == EINTR) {
  }
  _exit(127);
}

// The errno of a failed exec, or 0 once the pipe closed without one.
int ReadExecError(int fd) {
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(fd, &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

void WaitFor(pid_t pid) {
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

bool ChildProcess::Running() {
  if (ended_) return false;
  int status = 0;
  pid_t result = waitpid(pid_, &status, WNOHANG);
  if (result == 0) return true;
  if (result < 0 && errno == EINTR) return true;
  ended_ = true;  // reaped now, or by someone else already
  return false;
}

ChildProcess::~ChildProcess() {
  if (endFd_ >= 0) close(endFd_);
}

int ChildProcess::EndDescriptor() {
  // Opened while the child is still ours to reap, so the id cannot name
  // another process yet.
  if (endFd_ == -2) endFd_ = ended_ ? -1 : static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  return endFd_;
}

bool ChildProcess::WaitForEnd(int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (Running()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::unique_ptr<ChildProcess> StartProgram(const std::string& path) {
  if (path.empty()) return nullptr;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return nullptr;
  std::string pathCopy = path;
  char* argv[] = {pathCopy.data(), nullptr};
  const pid_t parent = getpid();
  // vfork: a copy of the host's page tables would cost milliseconds before
  // the renderer even starts. No signal handler of the host may run in the
  // child, which shares its memory, before the child has reset them.
  sigset_t all, before;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &before);
  const pid_t pid = vfork();
  if (pid == 0) ExecChild(pathCopy.c_str(), argv, fds[1], parent, true);
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return nullptr;
  }
  const int error = ReadExecError(fds[0]);
  close(fds[0]);
  if (error != 0) {
    WaitFor(pid);
    return nullptr;
  }
  return std::make_unique<ChildProcess>(pid);
}

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  const std::string path = FindOnPath(program);
  if (path.empty()) return false;
  std::vector<std::string> strings{path};
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : strings) argv.push_back(text.data());
  argv.push_back(nullptr);

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  const pid_t parent = getpid();
  const pid_t middle = fork();
  if (middle == 0) {
    // The middle child ends at once; its child belongs to init from then on.
    setsid();
    const pid_t grandchild = fork();
    if (grandchild == 0) ExecChild(path.c_str(), argv.data(), fds[1], parent, false);
    _exit(grandchild < 0 ? 127 : 0);
  }
  close(fds[1]);
  if (middle < 0) {
    close(fds[0]);
    return false;
  }
  // EOF comes once the grandchild has exec'd (or died) and the middle one ended.
  const int error = ReadExecError(fds[0]);
  close(fds[0]);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  return error == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string FindOnPath(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) {
    return access(program.c_str(), X_OK) == 0 ? program : std::string();
  }
  const char* path = std::getenv("PATH");
  std::string_view dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    size_t colon = dirs.find(':');
    std::string_view dir = dirs.substr(0, colon);
    std::string candidate = std::string(dir.empty() ? "." : dir) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) break;
    dirs.remove_prefix(colon + 1);
  }
  return {};
}

}  // namespace toolkit::posix
