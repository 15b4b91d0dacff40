#include "saver/toolkit/raster/raster.h"

#include <algorithm>
#include <cstdlib>

namespace toolkit::raster {
namespace {

using Wide = std::int64_t;
// Products of two 32-bit extents with a factor of two do not fit in 64 bits.
__extension__ typedef __int128 Huge;

constexpr std::uint32_t RgbMask = 0xFFFFFF;

Wide FloorDiv(Huge a, Huge b) {
  Huge q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return static_cast<Wide>(q);
}

Wide CeilDiv(Huge a, Huge b) { return -FloorDiv(-a, b); }

bool Valid(const Image& image) {
  return image.width >= 0 && image.height >= 0 &&
         image.pixels.size() >= static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

// One axis of a stretched copy. GDI walks the destination; each destination
// pixel takes a run of source pixels: one when growing, and when shrinking
// every source pixel whose centre falls into it (the default stretch mode
// ANDs them together).
class StretchAxis {
 public:
  StretchAxis(int destinationStart, int destinationExtent, int sourceStart, int sourceExtent)
      : destinationFlipped_(destinationExtent < 0), sourceFlipped_(sourceExtent < 0) {
    destinationCount_ = std::abs(static_cast<Wide>(destinationExtent));
    sourceCount_ = std::abs(static_cast<Wide>(sourceExtent));
    // A negative extent runs leftwards from the start pixel, which it covers.
    destinationFirst_ = destinationFlipped_ ? Wide{destinationStart} + destinationExtent + 1 : destinationStart;
    sourceFirst_ = sourceFlipped_ ? Wide{sourceStart} + sourceExtent + 1 : sourceStart;
  }

  bool Empty() const { return destinationCount_ == 0 || sourceCount_ == 0; }

  // The destination pixels [first, last) that lie inside [0, limit).
  Wide VisibleFirst() const { return std::max<Wide>(destinationFirst_, 0); }
  Wide VisibleEnd(int limit) const { return std::min<Wide>(destinationFirst_ + destinationCount_, limit); }

  // Source pixels [begin, end) for the destination pixel at `position`,
  // cut to [0, sourceLimit); begin == end when none of them is inside.
  void SourceRun(Wide position, int sourceLimit, Wide& begin, Wide& end) const {
    const Huge n = sourceCount_;
    const Huge m = destinationCount_;
    Wide index = position - destinationFirst_;
    if (destinationFlipped_) index = m - 1 - index;

    Wide runBegin, runEnd;  // within the source rectangle, in its own order
    if (m >= n) {
      // The source pixel under the destination pixel's centre; a centre on a
      // boundary takes the pixel before it.
      runBegin = static_cast<Wide>((2 * index * n + n - 1) / (2 * m));
      runEnd = runBegin + 1;
    } else if (m == 1) {
      // A single destination pixel leaves the last source pixel out, unless
      // either rectangle is mirrored.
      runBegin = 0;
      runEnd = (destinationFlipped_ || sourceFlipped_) ? sourceCount_ : sourceCount_ - 1;
    } else {
      // Source pixels whose centres lie in (index, index + 1] in destination units.
      runBegin = static_cast<Wide>((2 * index * n + m) / (2 * m));
      runEnd = static_cast<Wide>((2 * (index + 1) * n + m) / (2 * m));
    }

    if (sourceFlipped_) {
      begin = sourceFirst_ + sourceCount_ - runEnd;
      end = sourceFirst_ + sourceCount_ - runBegin;
    } else {
      begin = sourceFirst_ + runBegin;
      end = sourceFirst_ + runEnd;
    }
    begin = std::max<Wide>(begin, 0);
    end = std::min<Wide>(end, sourceLimit);
    if (end < begin) end = begin;
  }

 private:
  bool destinationFlipped_;
  bool sourceFlipped_;
  Wide destinationCount_ = 0;
  Wide sourceCount_ = 0;
  Wide destinationFirst_ = 0;
  Wide sourceFirst_ = 0;
};

// A 16-bit colour component at `offset` of `span` rows between two vertices,
// reduced to 8 bits: GDI takes the floor of the exact value.
std::uint32_t RampComponent(std::uint16_t from, std::uint16_t to, Wide offset, Wide span) {
  const Wide value = (Wide{from} * span + (Wide{to} - Wide{from}) * offset) / span;
  return static_cast<std::uint32_t>(value >> 8) & 0xFF;
}

}  // namespace

void GradientFillRectV(Image& target, const GradientVertex* vertices, int vertexCount,
                       const GradientRect& rect) {
  if (!Valid(target) || !vertices || vertexCount <= 0) return;
  const auto count = static_cast<std::uint32_t>(vertexCount);
  if (rect.upperLeft >= count || rect.lowerRight >= count) return;
  const GradientVertex& a = vertices[rect.upperLeft];
  const GradientVertex& b = vertices[rect.lowerRight];
  // The record's corners may come in any order; the colour follows the
  // vertices' own rows.
  const GradientVertex& top = a.y <= b.y ? a : b;
  const GradientVertex& bottom = a.y <= b.y ? b : a;
  const Wide span = Wide{bottom.y} - top.y;
  if (span <= 0) return;

  const Wide left = std::max<Wide>(std::min(a.x, b.x), 0);
  const Wide right = std::min<Wide>(std::max(a.x, b.x), target.width);
  const Wide firstRow = std::max<Wide>(top.y, 0);
  const Wide endRow = std::min<Wide>(bottom.y, target.height);
  for (Wide y = firstRow; y < endRow; ++y) {
    const Wide offset = y - top.y;
    const std::uint32_t colour = RampComponent(top.red, bottom.red, offset, span) << 16 |
                                 RampComponent(top.green, bottom.green, offset, span) << 8 |
                                 RampComponent(top.blue, bottom.blue, offset, span);
    for (Wide x = left; x < right; ++x) target.At(static_cast<int>(x), static_cast<int>(y)) = colour;
  }
}

void StretchCopy(Image& target, const PixelRect& destination, const Image& source,
                 const PixelRect& sourceRect) {
  const StretchAxis horizontal(destination.x, destination.width, sourceRect.x, sourceRect.width);
  const StretchAxis vertical(destination.y, destination.height, sourceRect.y, sourceRect.height);
  if (horizontal.Empty() || vertical.Empty() || !Valid(target) || !Valid(source)) return;
  if (&target == &source) {
    // GDI reads the source before it writes; a copy keeps that true here.
    const Image copy = source;
    StretchCopy(target, destination, copy, sourceRect);
    return;
  }

  const Wide firstColumn = horizontal.VisibleFirst();
  const Wide endColumn = horizontal.VisibleEnd(target.width);
  const Wide firstRow = vertical.VisibleFirst();
  const Wide endRow = vertical.VisibleEnd(target.height);
  if (firstColumn >= endColumn || firstRow >= endRow) return;

  struct Run {
    Wide begin, end;
  };
  std::vector<Run> columns(static_cast<std::size_t>(endColumn - firstColumn));
  for (Wide x = firstColumn; x < endColumn; ++x) {
    Run& run = columns[static_cast<std::size_t>(x - firstColumn)];
    horizontal.SourceRun(x, source.width, run.begin, run.end);
  }

  for (Wide y = firstRow; y < endRow; ++y) {
    Wide rowBegin, rowEnd;
    vertical.SourceRun(y, source.height, rowBegin, rowEnd);
    if (rowBegin == rowEnd) continue;
    for (Wide x = firstColumn; x < endColumn; ++x) {
      const Run& run = columns[static_cast<std::size_t>(x - firstColumn)];
      if (run.begin == run.end) continue;
      std::uint32_t value = RgbMask;
      for (Wide sy = rowBegin; sy < rowEnd; ++sy)
        for (Wide sx = run.begin; sx < run.end; ++sx)
          value &= source.At(static_cast<int>(sx), static_cast<int>(sy));
      target.At(static_cast<int>(x), static_cast<int>(y)) = value & RgbMask;
    }
  }
}

void Line(Image& target, int x0, int y0, int x1, int y1, std::uint32_t rgb) {
  const Wide dx = std::abs(Wide{x1} - x0);
  const Wide dy = std::abs(Wide{y1} - y0);
  if ((dx == 0 && dy == 0) || !Valid(target)) return;
  const bool alongX = dx >= dy;
  // Step along the longer axis from the first point up to, not including,
  // the last; the other coordinate is the exact one rounded, halves going
  // to the smaller coordinate.
  const Wide steps = alongX ? dx : dy;
  const Wide start = alongX ? x0 : y0;
  const Wide step = (alongX ? x1 - Wide{x0} : y1 - Wide{y0}) > 0 ? 1 : -1;
  const Wide minorStart = alongX ? y0 : x0;
  const Wide minorDelta = alongX ? Wide{y1} - y0 : Wide{x1} - x0;
  const Wide majorLimit = alongX ? target.width : target.height;
  const Wide minorLimit = alongX ? target.height : target.width;

  // Only the steps whose major coordinate lies inside the image.
  Wide first = 0, end = steps;
  if (step > 0) {
    first = std::max<Wide>(first, -start);
    end = std::min<Wide>(end, majorLimit - start);
  } else {
    first = std::max<Wide>(first, start - (majorLimit - 1));
    end = std::min<Wide>(end, start + 1);
  }
  for (Wide i = first; i < end; ++i) {
    const Wide major = start + step * i;
    const Wide minor = CeilDiv(Huge{2} * minorStart * steps + Huge{2} * minorDelta * i - steps, Huge{2} * steps);
    if (minor < 0 || minor >= minorLimit) continue;
    const int x = static_cast<int>(alongX ? major : minor);
    const int y = static_cast<int>(alongX ? minor : major);
    target.At(x, y) = rgb & RgbMask;
  }
}

}  // namespace toolkit::raster
