#include "saver/dialog/background.h"

#include <cmath>

namespace dialog {

std::int16_t GradientLevel(int row, double height) {
  // 3.142, not pi: the last row's sine is just above zero.
  const double a = height / 3.142;
  if (a == 0) return 0;  // a surface without height: the statement fails and the level stays 0
  return static_cast<std::int16_t>(std::nearbyint(std::fabs(std::sin(row / a) * 220)));
}

void PaintGradientPass(toolkit::Surface& surface, const std::function<toolkit::Colour(int)>& colourOf) {
  const toolkit::Size size = surface.PixelSize();
  const auto last = static_cast<std::int16_t>(std::nearbyint(static_cast<double>(size.height)));
  for (std::int16_t i = 0; i <= last; ++i) {
    surface.Line({0, i}, {size.width, i}, colourOf(GradientLevel(i, size.height)));
  }
}

toolkit::Colour DialogColour(int level) { return toolkit::MakeColour(level, level, level + 30); }

toolkit::Colour PanelColour(int level) { return toolkit::MakeColour(level + 30, level + 30, level + 30); }

}  // namespace dialog
