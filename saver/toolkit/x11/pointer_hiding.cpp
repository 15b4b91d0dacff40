#include "saver/toolkit/x11/pointer_hiding.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace toolkit::x11 {
namespace {

// Hide and show are requests of XFixes 4; a client has to ask for that
// version before the server accepts them.
bool HasXFixes4(Display* display) {
  int eventBase = 0;
  int errorBase = 0;
  if (!XFixesQueryExtension(display, &eventBase, &errorBase)) return false;
  int major = 4;
  int minor = 0;
  return XFixesQueryVersion(display, &major, &minor) && major >= 4;
}

}  // namespace

bool HidePointer(Display* display) {
  if (display == nullptr || !HasXFixes4(display)) return false;
  XFixesHideCursor(display, DefaultRootWindow(display));
  XFlush(display);
  return true;
}

bool ShowPointer(Display* display) {
  if (display == nullptr || !HasXFixes4(display)) return false;
  XFixesShowCursor(display, DefaultRootWindow(display));
  XFlush(display);
  return true;
}

}  // namespace toolkit::x11
