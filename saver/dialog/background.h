#pragma once
// The settings dialog's look: sine-shaped vertical gradients drawn line by
// line into the retained images of the dialog and of its music panel.
#include <cstdint>
#include <functional>

#include "saver/toolkit/toolkit.h"

namespace dialog {

// |sin(row / a) * 220| rounded half to even, a = height / 3.142.
std::int16_t GradientLevel(int row, double height);

// One line per row, 0 to the height inclusive, in the colour the rule gives
// for the row's level.
void PaintGradientPass(toolkit::Surface& surface, const std::function<toolkit::Colour(int)>& colourOf);

// Dark navy at the edges, pale lavender at mid-height.
toolkit::Colour DialogColour(int level);
// Dark grey at the edges, near-white at mid-height.
toolkit::Colour PanelColour(int level);

}  // namespace dialog
