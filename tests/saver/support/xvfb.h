#pragma once
// A private X server for one test: Xvfb on a free display number it picks
// itself (-displayfd), with DISPLAY and a fresh XDG_RUNTIME_DIR set.
#include <string>

namespace testsupport {

class Xvfb {
 public:
  Xvfb();
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  bool Ok() const { return !display_.empty(); }
  const std::string& Display() const { return display_; }

 private:
  int pid_ = -1;
  std::string display_;
  std::string runtimeDir_;
};

}  // namespace testsupport
