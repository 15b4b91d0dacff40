#include "saver/toolkit/qt/qt_window_gone.h"

#include <xcb/xcb.h>

#include <QByteArray>

namespace toolkit::qt {

bool WindowGoneWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
  const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
  // Sent for the window itself and, where asked for, for its children.
  if (destroyed->event == destroyed->window) gone_(destroyed->window);
  return false;  // Qt still sees it
}

}  // namespace toolkit::qt
