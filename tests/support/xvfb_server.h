#pragma once
// A private X server for one test binary: Xvfb on a display it picks itself.
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

class XvfbServer {
 public:
  // screen like "1024x768x24"; extra arguments (such as -fbdir DIR) are
  // appended as they are.
  explicit XvfbServer(const std::string& screen = "1024x768x24",
                      const std::vector<std::string>& extra = {});
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Running() const { return pid_ > 0 && !display_.empty(); }
  const std::string& Display() const { return display_; }  // ":N"
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::string runtimeDir_;
};

}  // namespace testsupport
