#include "saver/toolkit/x11/connection.h"

#include <X11/Xlib.h>

#include <atomic>

namespace toolkit::x11 {
namespace {

std::atomic<unsigned long> errorCount{0};

int CountError(Display*, XErrorEvent*) {
  errorCount.fetch_add(1, std::memory_order_relaxed);
  return 0;
}

}  // namespace

Display* OpenDisplay() {
  Display* display = XOpenDisplay(nullptr);
  // Xlib's default handler prints and exits; ours is process-wide.
  if (display != nullptr) InstallErrorHandler();
  return display;
}

void InstallErrorHandler() { XSetErrorHandler(CountError); }

void CloseDisplay(Display* display) {
  if (display != nullptr) XCloseDisplay(display);
}

void FlushDisplay(Display* display) {
  if (display != nullptr) XFlush(display);
}

void SyncDisplay(Display* display) {
  if (display != nullptr) XSync(display, False);
}

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
  if (display_ != nullptr) XSync(display_, False);
  start_ = errorCount.load(std::memory_order_relaxed);
}

ErrorTrap::~ErrorTrap() {
  if (display_ != nullptr) XSync(display_, False);
}

bool ErrorTrap::Failed() {
  if (display_ != nullptr) XSync(display_, False);
  return errorCount.load(std::memory_order_relaxed) != start_;
}

}  // namespace toolkit::x11
