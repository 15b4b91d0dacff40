#pragma once
// Pixel operations with the exact results of the Windows GDI calls the
// saver's painting was made with. The Win32 backend calls GDI itself; the
// Qt backend runs these on the pixels of its retained images, so both
// builds paint the same bytes.
#include <cstdint>
#include <vector>

namespace toolkit::raster {

// 0x00RRGGBB per pixel, rows top-down, no padding.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  Image() = default;
  Image(int w, int h, std::uint32_t fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w > 0 && h > 0 ? w * h : 0), fill) {}
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// GDI's TRIVERTEX: 8-bit colour values in the high byte of each component.
struct GradientVertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
  std::uint16_t alpha = 0;
};

// GDI's GRADIENT_RECT: indexes of two vertices.
struct GradientRect {
  std::uint32_t upperLeft = 0;
  std::uint32_t lowerRight = 0;
};

// GradientFill(..., GRADIENT_FILL_RECT_V) of one rectangle record: the
// pixels it sets, clipped to the image. Indexes out of range draw nothing.
// The fill covers the columns and rows from the smaller vertex coordinate up
// to, not including, the larger, whichever index names which corner. A row
// takes the floor of the exact 16-bit ramp from the upper vertex's colour
// toward the lower one's, then the high byte of each component.
void GradientFillRectV(Image& target, const GradientVertex* vertices, int vertexCount,
                       const GradientRect& rect);

// StretchBlt with SRCCOPY from `source` into `target`, in the stretch mode a
// new memory device context starts with. Negative or zero sizes and parts
// outside either image behave as GDI's do.
// Growing, a pixel takes the source pixel under its centre (a centre on a
// boundary takes the pixel before it). Shrinking, a pixel ANDs all source
// pixels whose centres fall into it (BLACKONWHITE), except that a single
// target pixel leaves the last source pixel out unless the copy is mirrored.
// A negative extent mirrors and runs back from its start pixel. Source
// pixels outside the picture count for nothing; a target pixel with none
// left keeps its colour. (A copy that is mirrored AND reaches outside the
// picture lands here where that geometry puts it; GDI under Wine moves such
// copies sideways.)
void StretchCopy(Image& target, const PixelRect& destination, const Image& source,
                 const PixelRect& sourceRect);

// MoveToEx(from) + LineTo(to) with a solid one-pixel pen in R2_COPYPEN:
// the last point is not drawn. One pixel per step along the longer axis; the
// other coordinate is the exact one rounded, halves to the smaller value, so
// a line and its reverse differ only at their ends.
void Line(Image& target, int x0, int y0, int x1, int y1, std::uint32_t rgb);

}  // namespace toolkit::raster
