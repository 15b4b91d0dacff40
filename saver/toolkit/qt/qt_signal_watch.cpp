#include "saver/toolkit/qt/qt_signal_watch.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>

namespace toolkit::qt {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int pipeFds[2] = {-1, -1};

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  // A full pipe already holds a pending signal; dropping this one is fine.
  [[maybe_unused]] ssize_t written = write(pipeFds[1], &number, 1);
  errno = saved;
}

}  // namespace

SignalWatch::~SignalWatch() { Uninstall(); }

void SignalWatch::Uninstall() {
  if (!installed_) return;
  installed_ = false;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
  notifier_.reset();
}

bool SignalWatch::Install(std::function<void(int)> received) {
  received_ = std::move(received);
  if (!installed_) {
    if (pipeFds[0] < 0 && pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) sigaction(signal, &action, nullptr);
    installed_ = true;
  }
  Listen();
  return true;
}

void SignalWatch::Listen() {
  // A notifier needs the application's event dispatcher.
  if (!installed_ || notifier_ || QCoreApplication::instance() == nullptr) return;
  notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Drain(); });
}

void SignalWatch::DieOf(int signal) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigaction(signal, &action, nullptr);
  raise(signal);
}

void SignalWatch::Drain() {
  unsigned char number = 0;
  while (read(pipeFds[0], &number, 1) == 1) {
    if (received_) received_(number);
  }
}

}  // namespace toolkit::qt
