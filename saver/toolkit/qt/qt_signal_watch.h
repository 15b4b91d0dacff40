#pragma once
// SIGTERM, SIGINT and SIGHUP as events: the handler only writes the signal's
// number into a pipe; the event loop reads it and runs `received` there.
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace toolkit::qt {

class SignalWatch {
 public:
  SignalWatch() = default;
  ~SignalWatch();
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  // Installs the handlers (once); `received` gets the signal's number. A
  // signal that comes before the event loop can listen waits in the pipe.
  bool Install(std::function<void(int)> received);
  // The event loop exists now: it reads the pipe from here on.
  void Listen();
  // The default actions again; the notifier goes (before QApplication).
  void Uninstall();

  // Back to the default action, then the signal again: for a signal that
  // finds nothing to unload.
  static void DieOf(int signal);

 private:
  void Drain();

  bool installed_ = false;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void(int)> received_;
};

}  // namespace toolkit::qt
