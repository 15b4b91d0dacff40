#include "tools/art/palette.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

namespace art {
namespace {

int Channel(const PaletteColour& c, int channel) { return channel == 0 ? c.r : (channel == 1 ? c.g : c.b); }

struct Box {
  std::vector<PaletteColour> pixels;

  // The widest channel and its range.
  std::pair<int, int> Widest() const {
    int bestChannel = 0;
    int bestRange = -1;
    for (int channel = 0; channel < 3; ++channel) {
      int lo = 255;
      int hi = 0;
      for (const PaletteColour& p : pixels) {
        lo = std::min(lo, Channel(p, channel));
        hi = std::max(hi, Channel(p, channel));
      }
      if (hi - lo > bestRange) {
        bestRange = hi - lo;
        bestChannel = channel;
      }
    }
    return {bestChannel, bestRange};
  }

  PaletteColour Mean() const {
    std::uint32_t sum[3] = {0, 0, 0};
    for (const PaletteColour& p : pixels) {
      for (int channel = 0; channel < 3; ++channel) sum[channel] += static_cast<std::uint32_t>(Channel(p, channel));
    }
    const auto n = static_cast<std::uint32_t>(pixels.size());
    return {static_cast<std::uint8_t>((sum[0] + n / 2) / n), static_cast<std::uint8_t>((sum[1] + n / 2) / n),
            static_cast<std::uint8_t>((sum[2] + n / 2) / n)};
  }
};

int DistanceSquared(const PaletteColour& a, const PaletteColour& b) {
  const int dr = a.r - b.r;
  const int dg = a.g - b.g;
  const int db = a.b - b.b;
  // Green counts most to the eye, blue least.
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

Quantized MedianCut(const std::vector<PaletteColour>& pixels, int colours) {
  Quantized result;
  if (pixels.empty() || colours < 1) return result;
  colours = std::min(colours, 256);
  std::vector<Box> boxes{Box{pixels}};
  while (static_cast<int>(boxes.size()) < colours) {
    // Split the box with the widest spread of one channel, the first such.
    std::size_t pick = boxes.size();
    int pickRange = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const int range = boxes[i].Widest().second;
      if (range > pickRange) {
        pickRange = range;
        pick = i;
      }
    }
    if (pick == boxes.size()) break;  // every box holds one colour
    Box& box = boxes[pick];
    const int channel = box.Widest().first;
    std::sort(box.pixels.begin(), box.pixels.end(), [channel](const PaletteColour& a, const PaletteColour& b) {
      return std::make_tuple(Channel(a, channel), a.r, a.g, a.b) < std::make_tuple(Channel(b, channel), b.r, b.g, b.b);
    });
    // Cut at the median, moved to the nearest change of the channel's value
    // so that no value lies in both halves.
    const std::size_t n = box.pixels.size();
    std::size_t cut = n / 2;
    const auto differs = [&](std::size_t at) {
      return at > 0 && at < n && Channel(box.pixels[at - 1], channel) != Channel(box.pixels[at], channel);
    };
    for (std::size_t step = 0; step < n; ++step) {
      if (differs(n / 2 + step)) {
        cut = n / 2 + step;
        break;
      }
      if (step <= n / 2 && differs(n / 2 - step)) {
        cut = n / 2 - step;
        break;
      }
    }
    Box upper{std::vector<PaletteColour>(box.pixels.begin() + static_cast<std::ptrdiff_t>(cut), box.pixels.end())};
    box.pixels.resize(cut);
    boxes.push_back(std::move(upper));
  }

  for (const Box& box : boxes) result.palette.push_back(box.Mean());
  for (const PaletteColour& p : pixels) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < result.palette.size(); ++i) {
      if (DistanceSquared(p, result.palette[i]) < DistanceSquared(p, result.palette[best])) best = i;
    }
    result.index.push_back(static_cast<std::uint8_t>(best));
  }
  return result;
}

}  // namespace art
