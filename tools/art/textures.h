#pragma once
// The renderer's three pictures.
#include "tools/art/image.h"

namespace art {

// Resource 127, 128 x 128: the winged creature on black, its body along the
// diagonal from the lower-left corner to the upper-right one (head there).
Image MakeFlyer();
// The same creature drawn at `size` pixels square (desktop icons).
Image MakeFlyer(int size);

// Resource 123, 256 x 256: blue sky with soft white clouds; tiles seamlessly.
Image MakeSky();
// The same tile drawn at `size` pixels square.
Image MakeSky(int size);

// Resource 124, 256 x 256: plain blue, red 0, green 0, blue 255.
Image MakePlainBlue();

}  // namespace art
