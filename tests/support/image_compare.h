#pragma once
// Frame comparison against the golden images. The GL that drew them draws
// the same bytes again; another GL (another llvmpipe, the Windows build's
// GL stack) may round differently and is held to a tolerance.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace testsupport {

struct ImageDifference {
  bool sameSize = false;
  double meanAbsolute = 0;      // over every channel of every pixel
  double differingShare = 0;    // pixels with a channel off by more than 24
  int largest = 0;
};

// Tolerance for another GL: at most 1 % of pixels visibly different and a
// mean channel difference of at most 1.0 (of 255).
inline constexpr double MaxDifferingShare = 0.01;
inline constexpr double MaxMeanAbsolute = 1.0;

inline ImageDifference Compare(int width, int height, const std::vector<std::uint8_t>& a, int widthB, int heightB,
                               const std::vector<std::uint8_t>& b) {
  ImageDifference d;
  d.sameSize = width == widthB && height == heightB && a.size() == b.size() &&
               a.size() == static_cast<std::size_t>(width) * height * 3;
  if (!d.sameSize || a.empty()) return d;
  std::uint64_t total = 0, differing = 0;
  for (std::size_t p = 0; p < a.size(); p += 3) {
    int worst = 0;
    for (int c = 0; c < 3; ++c) {
      const int diff = std::abs(int(a[p + c]) - int(b[p + c]));
      total += static_cast<std::uint64_t>(diff);
      worst = diff > worst ? diff : worst;
    }
    if (worst > 24) ++differing;
    if (worst > d.largest) d.largest = worst;
  }
  d.meanAbsolute = static_cast<double>(total) / static_cast<double>(a.size());
  d.differingShare = static_cast<double>(differing) / static_cast<double>(a.size() / 3);
  return d;
}

inline bool Identical(const ImageDifference& d) { return d.sameSize && d.largest == 0; }

inline bool WithinOtherGlTolerance(const ImageDifference& d) {
  return d.sameSize && d.differingShare <= MaxDifferingShare && d.meanAbsolute <= MaxMeanAbsolute;
}

inline std::string Describe(const ImageDifference& d) {
  return d.sameSize ? "mean " + std::to_string(d.meanAbsolute) + ", differing " +
                          std::to_string(d.differingShare * 100) + " %, largest " + std::to_string(d.largest)
                    : "sizes differ";
}

}  // namespace testsupport
