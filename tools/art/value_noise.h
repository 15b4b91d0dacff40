#pragma once
// Tileable value noise and its fractal sum, from an integer hash, so the
// clouds are the same on every machine and wrap at the texture's edges.
#include <cstdint>

namespace art {

std::uint32_t Hash32(std::uint32_t x);

// Noise in 0..1 at (x, y) in lattice cells; the lattice repeats every
// `period` cells in both directions.
double PeriodicNoise(double x, double y, int period, std::uint32_t seed);

// Sum of `octaves` layers at (s, t) in texture units (one tile is 0..1),
// the first with `basePeriod` cells per tile, each next one twice as fine
// and `gain` times as strong; normalised to 0..1.
double PeriodicFbm(double s, double t, int basePeriod, int octaves, double gain, std::uint32_t seed);

}  // namespace art
