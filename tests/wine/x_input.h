#pragma once
// Keyboard input through XTEST on a session's display, as a user types.
#include <string>

namespace wine_harness {

// Presses the key, keeps it down for `holdMs`, and lets it go. A renderer
// looks at its key table once per frame, so a tap that is pressed and released
// between two frames would go unseen.
bool HoldKey(const std::string& displayName, const char* keysymName, int holdMs);

// The pointer to a screen point (root coordinates, as Wine's screen).
bool MovePointer(const std::string& displayName, int x, int y);
// Moves there and presses and releases a button (1 left, 2 middle, 3 right).
bool ClickAt(const std::string& displayName, int x, int y, int button = 1, int holdMs = 80);

// Waits until the keyboard focus is on the top-level window of that title
// (or inside it): keys typed before that go elsewhere.
bool WaitForFocus(const std::string& displayName, const std::string& title, int timeoutMs);

}  // namespace wine_harness
