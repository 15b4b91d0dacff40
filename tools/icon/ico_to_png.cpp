// ico_to_png ICON PNG: writes the largest picture of a Windows icon file as a
// PNG with transparency, for the Linux desktop's icon theme. Pictures stored
// as bitmaps (1, 4, 8, 24 or 32 bits, with their AND mask) are converted;
// ones stored as PNG are copied as they are.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Read16(const Bytes& d, size_t at) { return d[at] | d[at + 1] << 8; }
std::uint32_t Read32(const Bytes& d, size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

struct Rgba {
  int width = 0;
  int height = 0;
  Bytes pixels;  // top-down rows, 4 bytes a pixel
};

// The bit or index of pixel x in a packed bottom-up row.
unsigned PixelBits(const Bytes& d, size_t row, int x, unsigned bits) {
  const size_t bit = static_cast<size_t>(x) * bits;
  const unsigned byte = d[row + bit / 8];
  return (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

bool DecodeBitmap(const Bytes& d, size_t at, size_t size, Rgba& out) {
  if (size < 40 || at + size > d.size() || Read32(d, at) < 40) return false;
  const auto width = static_cast<std::int32_t>(Read32(d, at + 4));
  const auto height = static_cast<std::int32_t>(Read32(d, at + 8)) / 2;  // XOR and AND halves
  const unsigned bits = Read16(d, at + 14);
  if (width <= 0 || height <= 0 || width > 1024 || height > 1024 || Read32(d, at + 16) != 0) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  std::uint32_t colours = Read32(d, at + 32);
  if (bits <= 8 && colours == 0) colours = 1u << bits;
  const size_t palette = at + Read32(d, at);
  const size_t xorRows = palette + (bits <= 8 ? colours * 4 : 0);
  const size_t xorStride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  const size_t andRows = xorRows + xorStride * height;
  const size_t andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  if (andRows + andStride * height > at + size) return false;

  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<size_t>(width) * height * 4, 0);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const size_t row = xorRows + xorStride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &out.pixels[(static_cast<size_t>(y) * width + x) * 4];
      if (bits <= 8) {
        const unsigned index = PixelBits(d, row, x, bits);
        if (index >= colours) return false;
        const size_t c = palette + index * 4;
        p[0] = d[c + 2], p[1] = d[c + 1], p[2] = d[c], p[3] = 255;
      } else {
        const size_t c = row + static_cast<size_t>(x) * (bits / 8);
        p[0] = d[c + 2], p[1] = d[c + 1], p[2] = d[c];
        p[3] = bits == 32 ? d[c + 3] : 255;
        anyAlpha = anyAlpha || (bits == 32 && d[c + 3] != 0);
      }
    }
  }
  // The AND mask marks the clear pixels, unless a 32-bit picture has alpha of its own.
  if (!anyAlpha) {
    for (int y = 0; y < height; ++y) {
      const size_t row = andRows + andStride * (height - 1 - y);
      for (int x = 0; x < width; ++x)
        if (PixelBits(d, row, x, 1)) out.pixels[(static_cast<size_t>(y) * width + x) * 4 + 3] = 0;
    }
  }
  return true;
}

bool WritePng(const char* path, const Rgba& image) {
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = png != nullptr && info != nullptr;
  if (ok && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
      png_write_row(png, const_cast<png_bytep>(&image.pixels[static_cast<size_t>(y) * image.width * 4]));
    png_write_end(png, nullptr);
  } else {
    ok = false;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ico_to_png ICON PNG\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const Bytes d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (d.size() < 6 || Read16(d, 0) != 0 || Read16(d, 2) != 1) {
    std::fprintf(stderr, "%s: not an icon file\n", argv[1]);
    return 1;
  }
  // The largest picture; the directory's sizes say 0 for 256.
  size_t best = 0;
  int bestSize = -1;
  for (size_t i = 0; i < Read16(d, 4) && 6 + 16 * (i + 1) <= d.size(); ++i) {
    const size_t entry = 6 + 16 * i;
    const int size = d[entry] == 0 ? 256 : d[entry];
    if (size > bestSize) bestSize = size, best = entry;
  }
  if (bestSize < 0) return 1;
  const size_t size = Read32(d, best + 8);
  const size_t at = Read32(d, best + 12);
  if (at + size > d.size() || size < 8) return 1;
  static const std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G'};
  if (std::equal(std::begin(kPngSignature), std::end(kPngSignature), d.begin() + at)) {
    std::ofstream(argv[2], std::ios::binary).write(reinterpret_cast<const char*>(&d[at]), size);
    return 0;
  }
  Rgba image;
  if (!DecodeBitmap(d, at, size, image)) {
    std::fprintf(stderr, "%s: picture cannot be read\n", argv[1]);
    return 1;
  }
  return WritePng(argv[2], image) ? 0 : 1;
}
