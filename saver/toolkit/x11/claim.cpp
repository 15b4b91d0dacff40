#include "saver/toolkit/x11/claim.h"

#include <X11/Xlib.h>

#include <string>

namespace toolkit::x11 {

bool ClaimSelection(Display* display, std::string_view name) {
  if (display == nullptr) return true;
  const Atom selection = XInternAtom(display, std::string(name).c_str(), False);
  // An unmapped input-only window of ours stands as the owner.
  XSetWindowAttributes attributes{};
  const Window owner = XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, 0, InputOnly,
                                     CopyFromParent, 0, &attributes);
  // Setting a selection takes it from any owner: look and take under a
  // grab, so two copies starting together cannot both find it free.
  XGrabServer(display);
  const bool free = XGetSelectionOwner(display, selection) == None;
  if (free) XSetSelectionOwner(display, selection, owner, CurrentTime);
  XUngrabServer(display);
  const bool ours = free && XGetSelectionOwner(display, selection) == owner;
  if (!ours) XDestroyWindow(display, owner);
  XSync(display, False);
  return ours;
}

}  // namespace toolkit::x11
