#pragma once
// Shrinks a rectangle of a captured frame to the preview's size by area
// averaging: each output pixel is the mean of the source area it covers,
// partly covered pixels weighted by their share. The mean is taken on
// squared values (gamma 2), so thin bright outlines keep their glow instead
// of sinking into the background.
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/art/image.h"

namespace art {

struct RgbFrame {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // top-down rows, 3 bytes a pixel
};

struct CropRect {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
};

// nullopt when the rectangle is empty or leaves the frame.
std::optional<Image> ShrinkArea(const RgbFrame& frame, CropRect crop, int width, int height);

// Unsharp mask against a 3 x 3 binomial blur (edges repeated): gives back
// some of the crispness that averaging takes away. 0 leaves the picture as
// it is.
Image Sharpen(const Image& image, double amount);

}  // namespace art
