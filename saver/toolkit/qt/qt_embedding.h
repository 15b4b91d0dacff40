#pragma once
// A form embedded into a foreign window (the preview's host): the native
// window becomes the host's child, and the host's destruction is noticed on
// a connection of our own.
#include <QPointer>
#include <QSocketNotifier>
#include <QWindow>
#include <functional>
#include <memory>

#include "saver/toolkit/x11/host_watch.h"

class QWidget;

namespace toolkit::qt {

class ForeignParent {
 public:
  ForeignParent() = default;
  ~ForeignParent();
  ForeignParent(const ForeignParent&) = delete;
  ForeignParent& operator=(const ForeignParent&) = delete;

  // Makes `form`'s native window a child of `host` at (0, 0). `ownDisplay`
  // is the program's Xlib connection, for the reparent and its check.
  // False when the host does not exist or the window could not be moved
  // into it. `hostGone` runs (from the event loop) once the host has been
  // destroyed, also when that happened during this call.
  bool Attach(QWidget& form, x11::WindowId host, Display* ownDisplay,
              std::function<void()> hostGone);

  // Forget the host now. The form's window should be gone already.
  void Release();
  // Stop watching now; the foreign window object goes after `widget`.
  void ReleaseAfter(QWidget* widget);

 private:
  void CheckHost();

  x11::HostWatch watch_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QPointer<QWindow> foreign_;
  std::function<void()> hostGone_;
  bool reported_ = false;
};

}  // namespace toolkit::qt
