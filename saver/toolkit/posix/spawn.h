#pragma once
// Starting programs without a shell. The started program's own failure to
// run (missing, not executable, not a program) is reported back through a
// close-on-exec pipe, so "could not start" is known before we return.
#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace toolkit::posix {

// A child of this process; Running() reaps it once it has ended. An event
// loop learns of the end through EndDescriptor.
class ChildProcess {
 public:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Running();
  bool WaitForEnd(int milliseconds);
  pid_t Pid() const { return pid_; }
  // Readable once the child has ended (a pidfd); -1 where the kernel has none.
  int EndDescriptor();

 private:
  pid_t pid_;
  bool ended_ = false;
  int endFd_ = -2;  // not opened yet
};

// Runs `path` itself with argv = {path}. The child gets SIGTERM when this
// process ends, and no descriptor of ours beyond 0, 1 and 2. Null when it
// could not be started.
std::unique_ptr<ChildProcess> StartProgram(const std::string& path);

// Runs a program found on $PATH with these arguments, detached (its parent
// is init, nobody waits for it). False when it could not be started.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments);

// The first executable file of that name on $PATH; empty when none.
std::string FindOnPath(const std::string& program);

}  // namespace toolkit::posix
