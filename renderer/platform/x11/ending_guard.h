#pragma once
// Whatever ends the renderer short of SIGKILL puts the desktop's display
// mode back; X, unlike Windows, keeps a switched mode after the process is
// gone. Termination signals, the loss of the window to another client and
// X protocol errors become a close request, so the usual ending restores
// the mode and the cursor. A lost X connection and fatal signals, whose
// handlers cannot return to the loop, restore the mode on the spot and end
// the process with a non-zero code.
typedef struct _XDisplay Display;

namespace renderer {

class X11DisplayMode;

class EndingGuard {
 public:
  // Takes over Xlib's error handlers and the signals. Remove before the
  // mode object goes.
  static void Install(X11DisplayMode& mode);
  static void Remove();

  // The renderer's window and its connection: errors naming the window
  // mean another client destroyed it. A window of 0 watches nothing.
  static void Watch(Display* display, unsigned long window);
  // Another client destroyed the window: what follows about it is expected.
  static void WindowGone(unsigned long window);

  static bool CloseRequested();
  // Clears the pending close request it reports.
  static bool TakeCloseRequest();
  // An X error other than the loss of the window ended the run.
  static bool EndedByXError();
};

}  // namespace renderer
