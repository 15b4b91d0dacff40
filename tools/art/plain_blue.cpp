#include "tools/art/textures.h"

namespace art {

Image MakePlainBlue() {
  Image image(256, 256);
  for (Rgb& pixel : image.pixels) pixel = {0.0, 0.0, 1.0};
  return image;
}

}  // namespace art
