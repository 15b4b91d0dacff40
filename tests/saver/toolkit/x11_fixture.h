#pragma once
// What the X11 tests of the toolkit share: a connection of their own (the
// "other program"), and the screen as Xvfb's frame buffer holds it.
#include <optional>
#include <string>

#include "tests/saver/toolkit/toolkit_fixture.h"

typedef struct _XDisplay Display;

namespace toolkittest {

// Named here, before Xlib's headers make None a macro.
inline constexpr toolkit::BorderStyle kBorderless = toolkit::BorderStyle::None;

void SetFrameBufferFile(const std::string& path);
// 0x00RRGGBB at a screen point, the pointer's image included (Xvfb draws it
// into its frame buffer); nothing when the file cannot be read.
std::optional<unsigned> ScreenPixel(int x, int y);

// Another client of the same display.
class OtherClient {
 public:
  OtherClient();
  ~OtherClient();
  Display* display() const { return display_; }
  bool HasProperty(unsigned long window, const char* property, const std::string& value) const;
  bool Viewable(unsigned long window) const;
  std::optional<unsigned long> Parent(unsigned long window) const;

 private:
  Display* display_;
};

}  // namespace toolkittest
