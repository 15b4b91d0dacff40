#pragma once
// A picture being made: linear colour values 0..1, rows from the top down.
#include <cstddef>
#include <vector>

#include "tools/art/det_math.h"

namespace art {

struct Image {
  Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}

  Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }

  int width;
  int height;
  std::vector<Rgb> pixels;
};

}  // namespace art
