#pragma once
// X reports errors asynchronously; while a trap is set, errors on its
// display are collected instead of going to the program-wide handler.
typedef struct _XDisplay Display;

namespace renderer {

class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* display);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the server to answer everything sent so far.
  bool Failed();

 private:
  Display* display_;
};

}  // namespace renderer
