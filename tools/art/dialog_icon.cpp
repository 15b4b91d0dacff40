#include "tools/art/dialog_icon.h"

#include <cstddef>

#include "tools/art/bmp_writer.h"
#include "tools/art/button_faces.h"
#include "tools/art/palette.h"
#include "tools/art/preview_scale.h"
#include "tools/art/textures.h"

namespace art {
namespace {

constexpr double CornerRadius = 6.0;  // at 32 pixels
constexpr int Samples = 4;

// The picture in bytes, centred on a black field `margin` pixels wider on
// every side.
RgbFrame ToFrame(const Image& image, int margin) {
  const int width = image.width + 2 * margin;
  const int height = image.height + 2 * margin;
  RgbFrame frame{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3, 0)};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& c = image.At(x, y);
      std::uint8_t* p = &frame.rgb[(static_cast<std::size_t>(y + margin) * width + x + margin) * 3];
      p[0] = ToByte(c.r);
      p[1] = ToByte(c.g);
      p[2] = ToByte(c.b);
    }
  }
  return frame;
}

// A wide soft copy of the creature: passes of a 3 x 3 binomial blur, three
// at 32 pixels; the spread grows with the square root of the passes.
Image Halo(const Image& image, int passes) {
  Image soft = image;
  for (int pass = 0; pass < passes; ++pass) {
    Image next(soft.width, soft.height);
    for (int y = 0; y < soft.height; ++y) {
      for (int x = 0; x < soft.width; ++x) {
        Rgb sum;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int sx = x + dx;
            const int sy = y + dy;
            if (sx < 0 || sy < 0 || sx >= soft.width || sy >= soft.height) continue;  // black beyond
            sum = sum + soft.At(sx, sy) * ((dx == 0 ? 2.0 : 1.0) * (dy == 0 ? 2.0 : 1.0) / 16.0);
          }
        }
        next.At(x, y) = sum;
      }
    }
    soft = next;
  }
  return soft;
}

// How far (x, y) lies inside the rounded tile of `size` pixels with corners
// of `radius`, in pixels; negative outside.
double Inside(double x, double y, int size, double radius) {
  const double lo = radius;
  const double hi = size - radius;
  const double cx = x < lo ? lo : (x > hi ? hi : x);
  const double cy = y < lo ? lo : (y > hi ? hi : y);
  return radius - Length(Vec2{x - cx, y - cy});
}

}  // namespace

IconTile PaintIconTile(int size) {
  IconTile art{Image(size, size), std::vector<double>(static_cast<std::size_t>(size) * size, 0.0)};
  // The creature and the clouds shrunk from the renderer's own pictures,
  // drawn at least twice as large as the tile. The creature a little smaller
  // than its square, so its wings clear the tile's rim, at a ratio that does
  // not beat with its veins.
  const int scale = size > 64 ? size / 64 : 1;
  const int flyerSize = 128 * scale;
  const double framed = 144.0 * scale;
  const Image flyer = *ShrinkArea(ToFrame(MakeFlyer(flyerSize), 8 * scale), {0.0, 0.0, framed, framed}, size, size);
  const Image halo = Halo(flyer, 3 * size * size / (IconSize * IconSize));
  const Image clouds = *ShrinkArea(ToFrame(MakeSky(256 * scale), 0),
                                   {40.0 * scale, 90.0 * scale, 128.0 * scale, 128.0 * scale}, size, size);
  const double radius = CornerRadius * size / IconSize;
  const Rgb zenith = HexColour(0x040A30);
  const Rgb horizon = HexColour(0x0E2E86);
  const Rgb rim = HexColour(0x08124A);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int covered = 0;
      double depth = 0.0;
      for (int sy = 0; sy < Samples; ++sy) {
        for (int sx = 0; sx < Samples; ++sx) {
          const double d = Inside(x + (sx + 0.5) / Samples, y + (sy + 0.5) / Samples, size, radius);
          if (d > 0.0) ++covered;
          depth += d;
        }
      }
      depth /= Samples * Samples;
      const std::size_t i = static_cast<std::size_t>(y) * size + x;
      art.coverage[i] = static_cast<double>(covered) / (Samples * Samples);
      if (covered == 0) continue;
      Rgb sky = Mix(zenith, horizon, (y + 0.5) / size);
      sky = sky + clouds.At(x, y) * 0.30;
      // Light as the renderer adds it: the creature glows over the sky.
      Rgb colour = sky + Max(halo.At(x, y) * 0.9, flyer.At(x, y));
      colour = {Clamp01(colour.r), Clamp01(colour.g), Clamp01(colour.b)};
      // A dark rim keeps the square edge clean on light title bars.
      art.picture.At(x, y) = Mix(colour, rim, 1.0 - SmoothStep(0.4, 1.4, depth));
    }
  }
  return art;
}

IconArt PaintDialogIcon() {
  const IconTile tile = PaintIconTile(IconSize);
  IconArt art;
  for (std::size_t i = 0; i < art.clear.size(); ++i) {
    art.clear[i] = tile.coverage[i] < 0.5;
    if (!art.clear[i]) art.picture.pixels[i] = tile.picture.pixels[i];
  }
  return art;
}

PalettedIcon MakeDialogIcon() {
  const IconArt art = PaintDialogIcon();
  std::vector<PaletteColour> opaque;
  for (std::size_t i = 0; i < art.clear.size(); ++i) {
    if (art.clear[i]) continue;
    const Rgb& c = art.picture.pixels[i];
    opaque.push_back({ToByte(c.r), ToByte(c.g), ToByte(c.b)});
  }
  const Quantized quantized = MedianCut(opaque, 255);
  PalettedIcon icon;
  for (std::size_t i = 0; i < quantized.palette.size(); ++i) icon.palette[i + 1] = quantized.palette[i];
  std::size_t next = 0;
  for (std::size_t i = 0; i < art.clear.size(); ++i) {
    icon.clear[i] = art.clear[i];
    icon.index[i] = art.clear[i] ? 0 : static_cast<std::uint8_t>(quantized.index[next++] + 1);
  }
  return icon;
}

}  // namespace art
