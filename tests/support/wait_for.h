#pragma once
// Polls `done` until it is true or `seconds` have passed; false on time-out.
#include <chrono>
#include <functional>
#include <thread>

namespace testsupport {

inline bool WaitFor(const std::function<bool()>& done, double seconds, int pollMs = 10) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
  }
  return true;
}

}  // namespace testsupport
