#pragma once
// The settings dialog's window icon, 32 x 32 in 256 colours: the scene's
// glowing winged creature on a rounded tile of cloudy blue sky. A palette
// icon has no partial transparency, so the tile's own edge is the
// outline: outside it the icon is clear.
#include <vector>

#include "tools/art/icon_files.h"
#include "tools/art/image.h"

namespace art {

struct IconArt {
  Image picture{IconSize, IconSize};
  std::array<bool, IconSize * IconSize> clear{};
};

IconArt PaintDialogIcon();

// The same tile painted at `size` pixels square (the desktop's icons), with
// each pixel's share inside the rounded tile for an alpha channel.
struct IconTile {
  Image picture;
  std::vector<double> coverage;  // 0 outside, 1 inside
};
IconTile PaintIconTile(int size);

// The painting in 255 colours; palette entry 0 stays black for the clear
// pixels.
PalettedIcon MakeDialogIcon();

}  // namespace art
