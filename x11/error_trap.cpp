#include "x11/error_trap.h"

#include <X11/Xlib.h>

namespace x11 {

struct TrapChain {
  static inline ErrorTrap* innermost = nullptr;

  static ErrorTrap* Outermost() {
    ErrorTrap* trap = innermost;
    while (trap != nullptr && trap->outer_ != nullptr) trap = trap->outer_;
    return trap;
  }
  static XErrorHandler Previous(const ErrorTrap& trap) { return reinterpret_cast<XErrorHandler>(trap.previous_); }
  static void SetPrevious(ErrorTrap& trap, XErrorHandler handler) {
    trap.previous_ = reinterpret_cast<void (*)()>(handler);
  }

  // The innermost trap on the error's display takes it; without one, the
  // handler that was there before the outermost trap does.
  static int Handle(Display* display, XErrorEvent* event) {
    for (ErrorTrap* trap = innermost; trap != nullptr; trap = trap->outer_) {
      if (trap->display_ == display) {
        ++trap->errors_;
        return 0;
      }
    }
    const ErrorTrap* outermost = Outermost();
    const XErrorHandler previous = outermost != nullptr ? Previous(*outermost) : nullptr;
    return previous != nullptr ? previous(display, event) : 0;
  }
};

namespace {

int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

void IgnoreErrorsOutsideTraps() {
  // Inside a trap, the handler to replace is the one the outermost trap puts back.
  if (ErrorTrap* outermost = TrapChain::Outermost()) {
    TrapChain::SetPrevious(*outermost, IgnoreError);
  } else {
    XSetErrorHandler(IgnoreError);
  }
}

ErrorTrap::ErrorTrap(Display* display, Earlier earlier) : display_(display), outer_(TrapChain::innermost) {
  if (display_ != nullptr && earlier == Earlier::Excluded) XSync(display_, False);
  TrapChain::innermost = this;
  TrapChain::SetPrevious(*this, XSetErrorHandler(TrapChain::Handle));
}

ErrorTrap::~ErrorTrap() {
  if (display_ != nullptr) XSync(display_, False);
  XSetErrorHandler(TrapChain::Previous(*this));
  TrapChain::innermost = outer_;
}

bool ErrorTrap::Failed() {
  if (display_ != nullptr) XSync(display_, False);
  return errors_ != 0;
}

}  // namespace x11
