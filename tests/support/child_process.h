#pragma once
// Starts a program and waits for it with a (generous) limit.
#include <optional>
#include <string>
#include <vector>
#include <sys/types.h>

namespace testsupport {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Start(const std::string& program, const std::vector<std::string>& args = {});
  // Exit code, or nothing if it has not ended within the limit. A program
  // ended by a signal reports 128 + the signal.
  std::optional<int> Wait(double seconds);
  bool Running();
  bool Signal(int sig);
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

}  // namespace testsupport
