#include "tools/art/preview_scale.h"

#include <cmath>
#include <cstddef>

namespace art {
namespace {

struct Tap {
  int source;
  double weight;
};

// For each output position, the source pixels its span covers and how much
// of each; the weights of one output add up to 1.
std::vector<std::vector<Tap>> Spans(double start, double length, int outputs) {
  std::vector<std::vector<Tap>> spans(static_cast<std::size_t>(outputs));
  const double step = length / outputs;
  for (int o = 0; o < outputs; ++o) {
    const double from = start + o * step;
    // The last span ends exactly where the rectangle does, never past it.
    const double to = o + 1 == outputs ? start + length : start + (o + 1) * step;
    for (int s = static_cast<int>(std::floor(from)); s < to; ++s) {
      const double lo = s > from ? s : from;
      const double hi = s + 1 < to ? s + 1 : to;
      if (hi > lo) spans[static_cast<std::size_t>(o)].push_back({s, (hi - lo) / step});
    }
  }
  return spans;
}

double Squared(std::uint8_t v) {
  const double x = v / 255.0;
  return x * x;
}

}  // namespace

std::optional<Image> ShrinkArea(const RgbFrame& frame, CropRect crop, int width, int height) {
  if (width <= 0 || height <= 0 || !(crop.width > 0.0) || !(crop.height > 0.0) || crop.x < 0.0 || crop.y < 0.0 ||
      crop.x + crop.width > frame.width || crop.y + crop.height > frame.height ||
      frame.rgb.size() != static_cast<std::size_t>(frame.width) * frame.height * 3) {
    return std::nullopt;
  }
  const auto columns = Spans(crop.x, crop.width, width);
  const auto rows = Spans(crop.y, crop.height, height);

  // Columns first, into one row of squared values per source row used.
  const int firstRow = rows.front().front().source;
  const int lastRow = rows.back().back().source;
  std::vector<Rgb> narrowed(static_cast<std::size_t>(lastRow - firstRow + 1) * width);
  for (int y = firstRow; y <= lastRow; ++y) {
    const std::uint8_t* line = &frame.rgb[static_cast<std::size_t>(y) * frame.width * 3];
    for (int x = 0; x < width; ++x) {
      Rgb sum;
      for (const Tap& tap : columns[static_cast<std::size_t>(x)]) {
        const std::uint8_t* p = line + static_cast<std::size_t>(tap.source) * 3;
        sum = sum + Rgb{Squared(p[0]), Squared(p[1]), Squared(p[2])} * tap.weight;
      }
      narrowed[static_cast<std::size_t>(y - firstRow) * width + x] = sum;
    }
  }

  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Rgb sum;
      for (const Tap& tap : rows[static_cast<std::size_t>(y)]) {
        sum = sum + narrowed[static_cast<std::size_t>(tap.source - firstRow) * width + x] * tap.weight;
      }
      image.At(x, y) = {std::sqrt(sum.r), std::sqrt(sum.g), std::sqrt(sum.b)};
    }
  }
  return image;
}

Image Sharpen(const Image& image, double amount) {
  Image result(image.width, image.height);
  const auto at = [&image](int x, int y) -> const Rgb& {
    x = x < 0 ? 0 : (x >= image.width ? image.width - 1 : x);
    y = y < 0 ? 0 : (y >= image.height ? image.height - 1 : y);
    return image.At(x, y);
  };
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      Rgb blur;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const double weight = (dx == 0 ? 2.0 : 1.0) * (dy == 0 ? 2.0 : 1.0) / 16.0;
          blur = blur + at(x + dx, y + dy) * weight;
        }
      }
      const Rgb& centre = image.At(x, y);
      const Rgb detail{centre.r - blur.r, centre.g - blur.g, centre.b - blur.b};
      const Rgb sharp = centre + detail * amount;
      result.At(x, y) = {Clamp01(sharp.r), Clamp01(sharp.g), Clamp01(sharp.b)};
    }
  }
  return result;
}

}  // namespace art
