#pragma once
// X reports errors asynchronously. While a trap is set, errors on its display
// are collected instead of going to the program-wide handler; errors on other
// displays still go there. Traps nest.
typedef struct _XDisplay Display;

namespace x11 {

// Xlib's default handler prints and ends the program. A program that asks
// about windows of other clients, which may vanish under any request, sets
// this one instead: errors outside a trap are ignored. Toolkits that set
// their own handler (Qt's xcb platform) make it necessary to set it again.
void IgnoreErrorsOutsideTraps();

class ErrorTrap {
 public:
  // Whether errors of requests sent before the trap, that the server has not
  // answered yet, are the trap's. Excluded waits for the server first, so
  // that those go to the program-wide handler.
  enum class Earlier { Trapped, Excluded };

  explicit ErrorTrap(Display* display, Earlier earlier = Earlier::Trapped);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Waits for the server to answer everything sent so far.
  bool Failed();

 private:
  friend struct TrapChain;

  Display* display_;
  unsigned long errors_ = 0;
  ErrorTrap* outer_;
  // The handler to put back, as Xlib's XErrorHandler.
  void (*previous_)() = nullptr;
};

}  // namespace x11
