#pragma once
// A claim per display that only one client can hold: the owner of an X
// selection. The server drops it with the owner's connection, so a copy
// that crashed leaves nothing stale behind.
#include <string_view>

typedef struct _XDisplay Display;

namespace toolkit::x11 {

// Takes the selection `name` for this connection's life. False when another
// client owns it; true without a display (nothing to share it with).
bool ClaimSelection(Display* display, std::string_view name);

}  // namespace toolkit::x11
