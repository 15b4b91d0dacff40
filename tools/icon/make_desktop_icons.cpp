// make_desktop_icons <folder>: writes the desktop's icons of the Linux
// install, <folder>/<N>x<N>/tovarel.png for each hicolor size: the dialog's
// icon tile painted afresh at that size, its rounded edge in the alpha
// channel. Deterministic: no time or text chunks, the same bytes each run.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/art/bmp_writer.h"
#include "tools/art/dialog_icon.h"

namespace {

namespace fs = std::filesystem;

constexpr int Sizes[] = {48, 64, 128, 256};

std::vector<std::uint8_t> ToRgba(const art::IconTile& tile) {
  std::vector<std::uint8_t> rgba;
  rgba.reserve(tile.picture.pixels.size() * 4);
  for (std::size_t i = 0; i < tile.picture.pixels.size(); ++i) {
    const double alpha = tile.coverage[i];
    const art::Rgb& c = alpha > 0.0 ? tile.picture.pixels[i] : art::Rgb{};
    rgba.insert(rgba.end(), {art::ToByte(c.r), art::ToByte(c.g), art::ToByte(c.b), art::ToByte(alpha)});
  }
  return rgba;
}

bool WritePng(const fs::path& path, int size, const std::vector<std::uint8_t>& rgba) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
  bool ok = info != nullptr;
  if (ok && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y)
      png_write_row(png, const_cast<png_bytep>(&rgba[static_cast<std::size_t>(y) * size * 4]));
    png_write_end(png, nullptr);
  } else {
    ok = false;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: make_desktop_icons <output folder>\n");
    return 2;
  }
  for (const int size : Sizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const fs::path folder = fs::path(argv[1]) / name;
    std::error_code error;
    fs::create_directories(folder, error);
    if (!WritePng(folder / "tovarel.png", size, ToRgba(art::PaintIconTile(size)))) {
      std::fprintf(stderr, "make_desktop_icons: cannot write %s\n", (folder / "tovarel.png").c_str());
      return 1;
    }
  }
  return 0;
}
