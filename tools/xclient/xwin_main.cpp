// xwin: drives a running Tovarel.dll (or any window) from a shell.
//   xwin find TITLE          print the window id, exit 1 if none
//   xwin wait TITLE SECONDS  wait until a window of that title is mapped
//   xwin gone TITLE SECONDS  wait until no window has that title
//   xwin close TITLE         ask it to close (WM_DELETE_WINDOW)
//   xwin toggle TITLE        send the WM_TOGGLEMODE client message
//   xwin key KEYSYM          press and release a key through XTEST
//   xwin pointer X Y         move the pointer there through XTEST
//   xwin shot FILE [TITLE]   save the screen (or the window) as PNG
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "tools/xclient/png_file.h"
#include "tools/xclient/x11_client.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: xwin find|wait|gone|close|toggle|key|pointer|shot ...\n");
  return 2;
}

bool WaitFor(Display* display, const std::string& title, double seconds, bool present) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    const auto window = xclient::FindWindowByTitle(display, title);
    const bool there = window && xclient::IsMapped(display, *window);
    if (there == present) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "xwin: cannot open the display\n");
    return 2;
  }
  const std::string verb = argv[1];
  const std::string arg = argv[2];
  int rc = 1;
  if (verb == "wait" || verb == "gone") {
    const double seconds = argc > 3 ? std::atof(argv[3]) : 10.0;
    rc = WaitFor(display, arg, seconds, verb == "wait") ? 0 : 1;
  } else if (verb == "key") {
    rc = xclient::TapKey(display, arg.c_str()) ? 0 : 1;
  } else if (verb == "pointer") {
    rc = argc > 3 && xclient::MovePointer(display, std::atoi(argv[2]), std::atoi(argv[3])) ? 0 : 1;
  } else if (verb == "shot") {
    xclient::XWindow target = DefaultRootWindow(display);
    if (argc > 3) {
      const auto window = xclient::FindWindowByTitle(display, argv[3]);
      if (!window) return 1;
      target = *window;
    }
    const auto image = xclient::Capture(display, target);
    rc = image && xclient::WritePng(arg, *image) ? 0 : 1;
  } else {
    const auto window = xclient::FindWindowByTitle(display, arg);
    if (!window) {
      rc = 1;
    } else if (verb == "find") {
      std::printf("0x%lx\n", *window);
      rc = 0;
    } else if (verb == "close") {
      rc = xclient::SendDeleteWindow(display, *window) ? 0 : 1;
    } else if (verb == "toggle") {
      rc = xclient::SendClientMessage(display, *window, "WM_TOGGLEMODE") ? 0 : 1;
    } else {
      rc = Usage();
    }
  }
  XCloseDisplay(display);
  return rc;
}
