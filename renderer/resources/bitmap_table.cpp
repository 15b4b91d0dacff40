#include <cstddef>

#include "bitmap_file.h"

extern const unsigned char FlyerBitmap[];
extern const std::size_t FlyerBitmapSize;
extern const unsigned char SkyBitmap[];
extern const std::size_t SkyBitmapSize;
extern const unsigned char BlueBitmap[];
extern const std::size_t BlueBitmapSize;

namespace renderer {

std::optional<BitmapView> FindBitmapResource(int resourceId) {
  switch (resourceId) {
    case 127: return ParseBitmapFile(FlyerBitmap, FlyerBitmapSize);
    case 123: return ParseBitmapFile(SkyBitmap, SkyBitmapSize);
    case 124: return ParseBitmapFile(BlueBitmap, BlueBitmapSize);
    default: return std::nullopt;
  }
}

}  // namespace renderer
