#include "tools/art/markers.h"

#include "tools/art/button_faces.h"

namespace art {
namespace {

constexpr int Samples = 8;  // per pixel and axis
constexpr double Centre = MarkerSize / 2.0;
constexpr double RimOuter = 5.95;
constexpr double RimInner = 4.75;
constexpr double DotRadius = 2.75;

struct Palette {
  Rgb rim;
  Rgb wellShade;  // upper left, the well's shadowed side
  Rgb wellLight;  // lower right
  Rgb dotDeep;
  Rgb dotBright;
  Rgb dotGlint;
};

Rgb Sample(const Palette& p, bool selected, Vec2 at) {
  const Vec2 d = at - Vec2{Centre, Centre};
  const double r = Length(d);
  const Rgb background{MarkerBackground, MarkerBackground, MarkerBackground};
  if (r >= RimOuter) return background;
  if (r >= RimInner) return p.rim;
  // The well, lit from the lower right as a hollow is.
  const double slope = Clamp01(0.5 + (d.x + d.y) / (4.0 * RimInner));
  Rgb colour = Mix(p.wellShade, p.wellLight, slope);
  if (!selected) return colour;
  // A soft halo round the dot, then the dot, lit from the upper left.
  const double halo = 1.0 - SmoothStep(DotRadius, RimInner, r);
  colour = Mix(colour, p.dotBright, 0.35 * halo * halo);
  if (r >= DotRadius) return colour;
  const Vec2 lightAt{-0.9, -0.9};
  const double fromLight = Clamp01(Length(d - lightAt) / (DotRadius + 0.9));
  colour = Mix(p.dotBright, p.dotDeep, SmoothStep(0.05, 1.0, fromLight));
  const double glint = 1.0 - SmoothStep(0.0, 0.9, Length(d - lightAt));
  return Mix(colour, p.dotGlint, 0.8 * glint);
}

}  // namespace

Image MakeMarker(bool selected) {
  const Palette palette{HexColour(0x1C4F86), HexColour(0xD8D6CF), HexColour(0xFFFFFF),
                        HexColour(0x0B3FA8), HexColour(0x3FB8FF), HexColour(0xE8FBFF)};
  Image image(MarkerSize, MarkerSize);
  for (int y = 0; y < MarkerSize; ++y) {
    for (int x = 0; x < MarkerSize; ++x) {
      Rgb sum;
      for (int sy = 0; sy < Samples; ++sy) {
        for (int sx = 0; sx < Samples; ++sx) {
          const Vec2 at{x + (sx + 0.5) / Samples, y + (sy + 0.5) / Samples};
          sum = sum + Sample(palette, selected, at);
        }
      }
      image.At(x, y) = sum * (1.0 / (Samples * Samples));
    }
  }
  return image;
}

}  // namespace art
