#include "tools/art/value_noise.h"

#include <cmath>

namespace art {
namespace {

int Wrap(int i, int period) {
  const int m = i % period;
  return m < 0 ? m + period : m;
}

double CellValue(int ix, int iy, std::uint32_t seed) {
  const std::uint32_t h =
      Hash32(static_cast<std::uint32_t>(ix) ^ Hash32(static_cast<std::uint32_t>(iy) ^ Hash32(seed)));
  return static_cast<double>(h >> 8) * (1.0 / 16777215.0);
}

double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

}  // namespace

std::uint32_t Hash32(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

double PeriodicNoise(double x, double y, int period, std::uint32_t seed) {
  if (period < 1) period = 1;
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = Fade(x - fx);
  const double ty = Fade(y - fy);
  const int x0 = Wrap(ix, period);
  const int x1 = Wrap(ix + 1, period);
  const int y0 = Wrap(iy, period);
  const int y1 = Wrap(iy + 1, period);
  const double top = CellValue(x0, y0, seed) + (CellValue(x1, y0, seed) - CellValue(x0, y0, seed)) * tx;
  const double bottom = CellValue(x0, y1, seed) + (CellValue(x1, y1, seed) - CellValue(x0, y1, seed)) * tx;
  return top + (bottom - top) * ty;
}

double PeriodicFbm(double s, double t, int basePeriod, int octaves, double gain, std::uint32_t seed) {
  double sum = 0.0;
  double weight = 1.0;
  double total = 0.0;
  int period = basePeriod;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += weight * PeriodicNoise(s * period, t * period, period, seed + 977u * static_cast<std::uint32_t>(octave));
    total += weight;
    weight *= gain;
    period *= 2;
  }
  return total > 0.0 ? sum / total : 0.0;
}

}  // namespace art
