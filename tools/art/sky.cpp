#include "tools/art/textures.h"
#include "tools/art/value_noise.h"

namespace art {
namespace {

constexpr int SkySize = 256;

// The sky is added over black and over a second sky layer, so it stays
// mid-blue and the clouds stay short of white.
constexpr Rgb DeepBlue{0.06, 0.20, 0.52};
constexpr Rgb LightBlue{0.20, 0.42, 0.78};
constexpr Rgb CloudLit{0.86, 0.89, 0.96};
constexpr Rgb CloudShade{0.52, 0.60, 0.80};

double CloudDensity(double s, double t) {
  // A gentle warp breaks up the lattice's square look; it is periodic too,
  // so the tile still wraps.
  const double warpS = PeriodicFbm(s, t, 3, 3, 0.5, 101u) - 0.5;
  const double warpT = PeriodicFbm(s, t, 3, 3, 0.5, 202u) - 0.5;
  return PeriodicFbm(s + 0.10 * warpS, t + 0.10 * warpT, 4, 5, 0.48, 2u);
}

}  // namespace

Image MakeSky() { return MakeSky(SkySize); }

Image MakeSky(int size) {
  Image image(size, size);
  const double texel = 1.0 / size;
  // The light's offset is the same stretch of sky at every size.
  const double lightStep = 3.0 / SkySize;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double s = (x + 0.5) * texel;
      const double t = (y + 0.5) * texel;
      const double density = CloudDensity(s, t);
      // Light from one side: thicker cloud towards it is lit, away shaded.
      const double towardsLight = CloudDensity(s - lightStep, t - lightStep);
      const double lit = Clamp01(0.5 + 6.0 * (density - towardsLight));

      const double haze = PeriodicFbm(s, t, 3, 3, 0.45, 303u);
      const Rgb sky = Mix(DeepBlue, LightBlue, SmoothStep(0.2, 0.8, haze));

      const double cover = SmoothStep(0.44, 0.74, density);
      const double core = SmoothStep(0.60, 0.85, density);
      const Rgb cloud = Mix(CloudShade, CloudLit, Clamp01(0.35 + 0.45 * lit + 0.4 * core));
      image.At(x, y) = Mix(sky, cloud, 0.88 * cover);
    }
  }
  return image;
}

}  // namespace art
