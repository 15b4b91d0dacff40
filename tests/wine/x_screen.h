#pragma once
// What a session's X screen shows: the pixels of a rectangle of the root
// window, and whether a window of a title exists (mapped or not).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wine_harness {

struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;  // 0xRRGGBB, rows top-down
  std::uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y * width + x)]; }
};

std::optional<ScreenPixels> CaptureScreen(const std::string& displayName, int x, int y, int width, int height);
bool XWindowExists(const std::string& displayName, const std::string& title);
// The window of that title is on the screen (mapped).
bool XWindowMapped(const std::string& displayName, const std::string& title);
// What the close box of a window manager does: WM_DELETE_WINDOW to the
// window of that title. False when there is none.
bool SendDeleteWindow(const std::string& displayName, const std::string& title);

}  // namespace wine_harness
