#pragma once
// The window an idle daemon (xscreensaver, xsecurelock) gives its hack to
// draw in, named by $XSCREENSAVER_WINDOW.
#include <optional>
#include <string_view>

namespace renderer {

inline constexpr const char* kDaemonWindowVariable = "XSCREENSAVER_WINDOW";

// A window id in decimal or 0x hexadecimal, blanks around it allowed;
// nothing for anything else, 0 included.
std::optional<unsigned long> ParseWindowId(std::string_view text);

}  // namespace renderer
