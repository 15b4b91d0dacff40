// make_preview FRAME.png OUT.bmp X Y WIDTH SHARPEN: cuts the rectangle at
// X, Y of WIDTH x (WIDTH * 112 / 152) pixels out of a captured frame,
// shrinks it to the 152 x 112 preview picture and sharpens it by SHARPEN
// (0 for none).
#include <cstdio>
#include <cstdlib>

#include "tools/art/bmp_writer.h"
#include "tools/xclient/png_file.h"
#include "tools/art/preview_scale.h"

namespace {

constexpr int PreviewWidth = 152;
constexpr int PreviewHeight = 112;

bool ParseNumber(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double sharpen = 0.0;
  if (argc != 7 || !ParseNumber(argv[3], x) || !ParseNumber(argv[4], y) || !ParseNumber(argv[5], width) ||
      !ParseNumber(argv[6], sharpen) || !(sharpen >= 0.0 && sharpen <= 4.0)) {
    std::fprintf(stderr, "usage: make_preview FRAME.png OUT.bmp X Y WIDTH SHARPEN(0..4)\n");
    return 2;
  }
  const auto png = xclient::ReadPng(argv[1]);
  if (!png) {
    std::fprintf(stderr, "make_preview: cannot read %s\n", argv[1]);
    return 1;
  }
  const art::RgbFrame frame{png->width, png->height, png->rgb};
  const art::CropRect crop{x, y, width, width * PreviewHeight / PreviewWidth};
  const auto picture = art::ShrinkArea(frame, crop, PreviewWidth, PreviewHeight);
  if (!picture) {
    std::fprintf(stderr, "make_preview: the rectangle does not fit in the %d x %d frame\n", frame.width, frame.height);
    return 1;
  }
  if (!art::WriteBytes(argv[2], art::EncodeBmp24(art::Sharpen(*picture, sharpen)))) {
    std::fprintf(stderr, "make_preview: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
