#pragma once
// The settings dialog's two 12 x 12 choice markers, radio-button style: a
// round well with a dark rim, and for the chosen one a glowing blue dot in
// it. JPEG has no transparency, so the corners are painted in the light
// grey of the music panel behind them.
#include "tools/art/image.h"

namespace art {

constexpr int MarkerSize = 12;
// The panel's gradient at the three marker rows runs from about 222 to
// 250; its middle hides the corners best wherever a marker sits.
constexpr double MarkerBackground = 238.0 / 255.0;

Image MakeMarker(bool selected);

}  // namespace art
