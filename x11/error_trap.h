#pragma once
// X reports errors asynchronously; while a trap is set, errors on its
// display are collected instead of going to the program-wide handler.
typedef struct _XDisplay Display;

namespace x11 {

class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Waits for the server to answer everything sent so far.
  bool Failed();

 private:
  Display* display_;
};

}  // namespace x11
