#pragma once
// Window ids as both programs read them: the window an idle daemon
// (xscreensaver, xsecurelock) gives its hack to draw in, named by
// $XSCREENSAVER_WINDOW, and the id after -window-id.
#include <optional>
#include <string_view>

namespace x11 {

inline constexpr const char* kDaemonWindowVariable = "XSCREENSAVER_WINDOW";

// A window id in decimal or 0x hexadecimal within X's 29 bits; nothing for
// anything else (blanks, signs, 0 included), so that the host and the
// renderer never read one variable two ways.
std::optional<unsigned long> ParseWindowId(std::string_view text);

}  // namespace x11
