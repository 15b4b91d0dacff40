#include "tools/art/textures.h"

#include <cmath>
#include <vector>

#include "tools/art/shape.h"

namespace art {
namespace {

constexpr int FlyerSize = 128;
constexpr int Margin = 2;  // black border at 128 pixels, so the mipmaps do not bleed
constexpr double InvSqrt2 = 0.70710678118654752440;
// Body units per pixel at 128 pixels: keeps the apex glow clear of the border.
constexpr double Zoom = 1.05;

// The creature is drawn in body coordinates: u along the body from the tail
// (lower-left) to the head (upper-right), v across it. Only v >= 0 is
// described; the other side is its mirror image, so both wing pairs are
// the same and the picture folds cleanly along the body.

struct WingStyle {
  Rgb deep;     // near the root
  Rgb bright;   // towards the margin
  Rgb vein;
  Rgb outline;  // pale rim, also the colour of the glow around it
};

struct Spot {
  Vec2 centre;
  double radius;
  Rgb colour;
};

struct Wing {
  WingStyle style;
  Vec2 root;
  std::vector<Vec2> outline;
  std::vector<std::vector<Vec2>> veins;
  std::vector<Spot> spots;
  double reach = 1.0;  // farthest outline point from the root
};

constexpr double GlowRadius = 6.0;

const WingStyle ForewingStyle{
    {0.02, 0.16, 0.07}, {0.10, 0.62, 0.26}, {0.42, 0.92, 0.55}, {0.78, 1.00, 0.80}};
const WingStyle HindwingStyle{
    {0.13, 0.02, 0.20}, {0.50, 0.12, 0.70}, {0.80, 0.52, 0.96}, {0.95, 0.80, 1.00}};

double Farthest(const std::vector<Vec2>& points, Vec2 from) {
  double best = 1.0;
  for (const Vec2& p : points) {
    const double d = Length(p - from);
    if (d > best) best = d;
  }
  return best;
}

// Veins run from the root to chosen outline points, bowed a little.
void AddVeins(Wing& wing, const std::vector<double>& along, double bow) {
  const auto n = static_cast<double>(wing.outline.size());
  for (double a : along) {
    const Vec2 end = wing.outline[static_cast<std::size_t>(a * n)];
    const Vec2 mid = (wing.root + end) * 0.5;
    const Vec2 dir = end - wing.root;
    const Vec2 side{-dir.y, dir.x};
    // Stop short of the rim, which is drawn by itself.
    const Vec2 stop = wing.root + dir * 0.96;
    wing.veins.push_back(BentLine(wing.root, mid + side * bow, stop, 12));
  }
}

// A row of pale dots just inside the margin, between the veins' ends.
void AddMarginSpots(Wing& wing, const std::vector<double>& along, double inset, double radius, Rgb colour) {
  const auto n = static_cast<double>(wing.outline.size());
  for (double a : along) {
    const Vec2 edge = wing.outline[static_cast<std::size_t>(a * n)];
    const Vec2 inward = wing.root - edge;
    wing.spots.push_back({edge + inward * (inset / Length(inward)), radius, colour});
  }
}

Wing MakeForewing() {
  Wing wing;
  wing.style = ForewingStyle;
  wing.root = {17.0, 2.5};
  wing.outline = ClosedCurve(
      {
          {21.0, 2.5},
          {29.0, 12.0},
          {33.0, 27.0},
          {31.0, 42.0},
          {25.0, 54.0},
          {17.0, 61.0},
          {7.0, 59.0},
          {-2.0, 52.0},
          {-6.0, 40.0},
          {-3.0, 26.0},
          {3.0, 13.0},
          {10.0, 4.0},
      },
      24);
  wing.reach = Farthest(wing.outline, wing.root);
  AddVeins(wing, {0.15, 0.25, 0.34, 0.42, 0.50, 0.58, 0.66, 0.74}, 0.06);
  wing.spots = {
      {{20.0, 52.0}, 2.1, {0.85, 1.00, 0.88}},
      {{14.0, 55.5}, 1.7, {0.85, 1.00, 0.88}},
      {{8.5, 54.5}, 1.3, {0.85, 1.00, 0.88}},
  };
  return wing;
}

Wing MakeHindwing() {
  Wing wing;
  wing.style = HindwingStyle;
  wing.root = {4.0, 2.5};
  wing.outline = ClosedCurve(
      {
          {8.0, 2.5},
          {4.0, 18.0},
          {-4.0, 36.0},
          {-14.0, 50.0},
          {-26.0, 52.0},
          {-35.0, 42.0},
          {-46.0, 30.0},
          {-42.0, 21.0},
          {-30.0, 13.0},
          {-16.0, 5.0},
          {-4.0, 2.0},
      },
      24);
  wing.reach = Farthest(wing.outline, wing.root);
  AddVeins(wing, {0.14, 0.26, 0.36, 0.46, 0.56, 0.66, 0.80}, -0.05);
  AddMarginSpots(wing, {0.34, 0.40, 0.47, 0.54}, 5.5, 1.2, {1.00, 0.82, 0.98});
  return wing;
}

// The eyespot on each hindwing: a pale ring about a dark centre.
constexpr Vec2 EyeCentre{-24.0, 36.0};
constexpr double EyeRadius = 5.0;

Rgb WingColour(const Wing& wing, Vec2 p, double distance, bool eyespot) {
  const WingStyle& style = wing.style;
  const double radial = Clamp01(Length(p - wing.root) / wing.reach);
  Rgb colour = Mix(style.deep, style.bright, SmoothStep(0.08, 0.95, radial));
  // A brighter band just inside the rim.
  const double inside = -distance;
  colour = Mix(colour, style.bright, 0.45 * (1.0 - SmoothStep(1.0, 7.0, inside)));

  double veinDistance = 1e9;
  for (const auto& vein : wing.veins) {
    const double d = PolylineDistance(vein, p);
    if (d < veinDistance) veinDistance = d;
  }
  const double vein = LineMask(veinDistance, 0.55, 0.9) * SmoothStep(0.12, 0.4, radial);
  colour = Mix(colour, style.vein, 0.75 * vein);

  for (const Spot& spot : wing.spots) {
    const double d = Length(p - spot.centre) - spot.radius;
    colour = Mix(colour, spot.colour, 0.85 * Clamp01(0.5 - d));
  }

  if (eyespot) {
    const double r = Length(p - EyeCentre);
    const double ring = LineMask(std::fabs(r - EyeRadius), 0.9, 1.0);
    const double pupil = Clamp01(0.5 - (r - 0.55 * EyeRadius));
    const double glint = Clamp01(0.5 - (Length(p - (EyeCentre + Vec2{0.9, -0.9})) - 0.9));
    colour = Mix(colour, Rgb{0.03, 0.0, 0.06}, 0.9 * pupil);
    colour = Mix(colour, Rgb{1.0, 0.75, 0.95}, ring);
    colour = Mix(colour, Rgb{0.8, 0.95, 1.0}, glint);
  }

  const double rim = LineMask(std::fabs(distance), 0.9, 1.2);
  return Mix(colour, style.outline, rim);
}

// Outward glow of a shape whose edge lies `distance` away.
double Glow(double distance, double radius) {
  if (distance <= 0.0) return 1.0;
  const double fade = 1.0 - SmoothStep(0.0, radius, distance);
  return fade * fade;
}

double BodyDistance(Vec2 p) {
  const double head = EllipseDistance(p, {31.0, 0.0}, {3.4, 3.2});
  const double thorax = EllipseDistance(p, {20.0, 0.0}, {9.0, 3.9});
  const double abdomen = EllipseDistance(p, {-13.0, 0.0}, {26.0, 3.1});
  double d = head < thorax ? head : thorax;
  return d < abdomen ? d : abdomen;
}

Rgb BodyColour(Vec2 p, double distance) {
  const Rgb core{0.62, 0.60, 0.72};
  const Rgb rim{0.96, 0.94, 1.00};
  Rgb colour = core;
  if (p.x < 11.0) {
    // Abdomen rings: darker bands every 4.5 units.
    const double phase = (p.x + 40.0) / 4.5;
    const double f = phase - std::floor(phase);
    const double band = LineMask(std::fabs(f - 0.5), 0.12, 0.2);
    colour = Mix(colour, Rgb{0.30, 0.22, 0.42}, 0.7 * band);
  } else if (p.x < 28.0) {
    colour = Mix(colour, Rgb{0.55, 0.78, 0.62}, 0.5);  // furry green thorax
  }
  // Light along the back, where the fold runs.
  colour = Mix(colour, rim, 0.5 * (1.0 - SmoothStep(0.0, 1.6, p.y)));
  return Mix(colour, rim, LineMask(std::fabs(distance), 0.5, 1.0));
}

Rgb FlyerPixel(const Wing& fore, const Wing& hind, const std::vector<Vec2>& antenna, Vec2 p) {
  const double foreDistance = SignedDistance(fore.outline, p);
  const double hindDistance = SignedDistance(hind.outline, p);
  const double bodyDistance = BodyDistance(p);
  const double antennaDistance = PolylineDistance(antenna, p);
  const double clubDistance = Length(p - antenna.back()) - 1.7;

  // Glows first, each shape painted over them.
  Rgb colour = Max(fore.style.outline * (0.5 * Glow(foreDistance, GlowRadius)),
                   hind.style.outline * (0.5 * Glow(hindDistance, GlowRadius)));
  const Rgb paleGlow{0.80, 0.85, 1.00};
  colour = Max(colour, paleGlow * (0.45 * Glow(bodyDistance, 3.5)));
  const double feeler = antennaDistance < clubDistance ? antennaDistance : clubDistance;
  colour = Max(colour, paleGlow * (0.35 * Glow(feeler - 0.6, 3.0)));

  const double hindCover = Clamp01(0.5 - hindDistance);
  if (hindCover > 0.0) colour = Mix(colour, WingColour(hind, p, hindDistance, true), hindCover);
  const double foreCover = Clamp01(0.5 - foreDistance);
  if (foreCover > 0.0) colour = Mix(colour, WingColour(fore, p, foreDistance, false), foreCover);

  const Rgb antennaColour{0.88, 0.96, 0.92};
  colour = Mix(colour, antennaColour, LineMask(antennaDistance, 0.55, 0.9));
  colour = Mix(colour, antennaColour, Clamp01(0.5 - clubDistance));

  const double bodyCover = Clamp01(0.5 - bodyDistance);
  if (bodyCover > 0.0) colour = Mix(colour, BodyColour(p, bodyDistance), bodyCover);
  return colour;
}

}  // namespace

Image MakeFlyer() { return MakeFlyer(FlyerSize); }

Image MakeFlyer(int size) {
  const Wing fore = MakeForewing();
  const Wing hind = MakeHindwing();
  const std::vector<Vec2> antenna = BentLine({33.0, 1.2}, {52.0, 2.5}, {66.0, 11.0}, 24);

  // The same creature at any size: body units per pixel scale inversely.
  const double zoom = Zoom * FlyerSize / size;
  const int margin = Margin * size / FlyerSize;
  Image image(size, size);
  const double half = size / 2.0;
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      if (row < margin || column < margin || row >= size - margin || column >= size - margin) {
        continue;  // stays black
      }
      // Picture coordinates with y up, centred; the body diagonal is x = y.
      const double x = column + 0.5 - half;
      const double y = half - (row + 0.5);
      const double u = (x + y) * (InvSqrt2 * zoom);
      const double v = (x - y) * (InvSqrt2 * zoom);
      image.At(column, row) = FlyerPixel(fore, hind, antenna, {u, std::fabs(v)});
    }
  }
  return image;
}

}  // namespace art
