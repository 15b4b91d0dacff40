#pragma once
// Watches a foreign window (the preview's host) on a connection of its own,
// so that no other request of the program can swallow its DestroyNotify
// into Xlib's queue unseen.
#include "saver/toolkit/x11/connection.h"

namespace toolkit::x11 {

class HostWatch {
 public:
  HostWatch() = default;
  ~HostWatch();
  HostWatch(const HostWatch&) = delete;
  HostWatch& operator=(const HostWatch&) = delete;

  // Opens the connection and asks for the host's structure events. False
  // when there is no display or the host does not exist (then no watch).
  bool Start(WindowId host);
  // The connection's socket, for a notifier; -1 without a watch.
  int Fd() const;
  // Reads what has arrived; true once the host has been destroyed.
  bool HostGone();

 private:
  Display* display_ = nullptr;
  WindowId host_ = 0;
  bool gone_ = false;
};

}  // namespace toolkit::x11
