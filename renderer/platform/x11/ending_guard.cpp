#include "renderer/platform/x11/ending_guard.h"

#include <X11/Xlib.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "renderer/platform/x11/x11_display_mode.h"

namespace renderer {
namespace {

X11DisplayMode* guardedMode = nullptr;
volatile std::sig_atomic_t closeRequested = 0;
Display* watchedDisplay = nullptr;
unsigned long watchedWindow = 0;
unsigned long lostWindow = 0;
bool endedByXError = false;

// Asked to end: a close request, as after Escape.
constexpr int TerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};
// Would end the process at once: restore first, then let them do so.
constexpr int FatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS,
                                SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU,
                                SIGXFSZ, SIGIO, SIGSTKFLT, SIGPWR};

// A crash from a stack overflow needs a stack of its own to be handled on.
alignas(16) char alternateStack[64 * 1024];

void OnTerminationSignal(int) { closeRequested = 1; }

void OnFatalSignal(int sig) {
  // Restoring talks to the X server; should that hang, the alarm ends it.
  std::signal(SIGALRM, SIG_DFL);
  alarm(2);
  if (guardedMode) guardedMode->RestoreWithout(nullptr);
  // The handler was reset on entry: the signal now does what it would have.
  raise(sig);
}

int OnXError(Display* display, XErrorEvent* event) {
  // Other connections (the mode switch's own) check their results themselves.
  if (guardedMode && display == guardedMode->Connection()) return 0;
  if (watchedDisplay && display != watchedDisplay) return 0;
  const unsigned long resource = event->resourceid;
  if (resource != 0 && resource == lostWindow) return 0;
  if (resource != 0 && resource == watchedWindow) {
    lostWindow = resource;
  } else {
    endedByXError = true;
  }
  closeRequested = 1;
  return 0;
}

// Xlib ends the process when this returns, so it never does.
int OnIoError(Display* display) {
  if (guardedMode) guardedMode->RestoreWithout(display);
  _exit(1);
}

void RestoreAtExit() {
  if (guardedMode) guardedMode->RestoreWithout(nullptr);
}

void Handle(int sig, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(sig, &action, nullptr);
}

}  // namespace

void EndingGuard::Install(X11DisplayMode& mode) {
  guardedMode = &mode;
  static bool installed = false;
  if (installed) return;
  installed = true;
  XSetErrorHandler(OnXError);
  XSetIOErrorHandler(OnIoError);
  stack_t stack{};
  stack.ss_sp = alternateStack;
  stack.ss_size = sizeof alternateStack;
  sigaltstack(&stack, nullptr);
  for (int sig : TerminationSignals) Handle(sig, OnTerminationSignal, 0);
  for (int sig : FatalSignals) Handle(sig, OnFatalSignal, SA_RESETHAND | SA_ONSTACK);
  // A write to a closed connection is the I/O error's to report.
  Handle(SIGPIPE, SIG_IGN, 0);
  std::atexit(RestoreAtExit);
}

void EndingGuard::Remove() { guardedMode = nullptr; }

void EndingGuard::Watch(Display* display, unsigned long window) {
  if (display) watchedDisplay = display;
  // Errors that still come about a window the renderer closed are expected.
  if (watchedWindow && window != watchedWindow) lostWindow = watchedWindow;
  watchedWindow = window;
}

void EndingGuard::WindowGone(unsigned long window) {
  lostWindow = window;
  if (window == watchedWindow) watchedWindow = 0;
}

bool EndingGuard::CloseRequested() { return closeRequested != 0; }

bool EndingGuard::TakeCloseRequest() {
  if (!closeRequested) return false;
  closeRequested = 0;
  return true;
}

bool EndingGuard::EndedByXError() { return endedByXError; }

}  // namespace renderer
