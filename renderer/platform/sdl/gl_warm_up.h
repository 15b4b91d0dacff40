#pragma once
// Loading the GL driver is the largest single cost before the first frame.
// This starts it on a second thread, on a connection of its own, while SDL
// starts on the first; the driver is then already in memory when the
// window asks for it.
#include <thread>

namespace renderer {

class GlWarmUp {
 public:
  GlWarmUp() = default;
  GlWarmUp(const GlWarmUp&) = delete;
  GlWarmUp& operator=(const GlWarmUp&) = delete;
  ~GlWarmUp() { Finish(); }

  void Start();
  // Waits for the warm-up and lets its connection go.
  void Finish();

 private:
  std::thread thread_;
  void* display_ = nullptr;
};

}  // namespace renderer
