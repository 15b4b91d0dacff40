#pragma once
// Baseline JPEG files through libjpeg: no chroma subsampling (a 12-pixel
// picture has no colour to spare), the exact integer DCT and the standard
// Huffman tables, so the same picture always gives the same bytes.
#include <cstdint>
#include <vector>

#include "tools/art/image.h"

namespace art {

// Empty when libjpeg refuses the picture.
std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality);

}  // namespace art
